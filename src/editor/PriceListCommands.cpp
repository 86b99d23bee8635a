#include "editor/PriceListCommands.h"

#include "editor/Editor.h"
#include "editor/EditingControls.h"
#include "prices/PriceList.h"
#include "prices/PriceListFile.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

namespace tavrin {

namespace {

QString OpenLayoutPath(const Editor &editor)
{
    return editor.document().names().layoutFolder + QLatin1Char('/') + editor.document().names().layoutName;
}

// The rows of a list that name the open board: by its path taken from the list's folder, or,
// for a list made on another computer, by its file name ("\" of a list made on Windows counts as
// a separator). Only the open board is ever changed, whatever else the list names. Rows that
// name two different layouts of the board's file name, and none its path, are ambiguous.
std::vector<PriceRow> RowsOfOpenBoard(const Editor &editor, const QString &listPath,
                                      const std::vector<PriceRow> &rows, QString *ambiguity)
{
    const QString open = QFileInfo(OpenLayoutPath(editor)).absoluteFilePath();
    const QDir listFolder = QFileInfo(listPath).absoluteDir();
    std::vector<PriceRow> byPath, byName;
    QStringList namesSeen;
    for (const PriceRow &row : rows) {
        QString named = row.layout;
        named.replace(u'\\', u'/');
        if (QDir::cleanPath(listFolder.absoluteFilePath(named)) == open) {
            byPath.push_back(row);
        } else if (named.mid(named.lastIndexOf(u'/') + 1) == editor.document().names().layoutName) {
            byName.push_back(row);
            if (!namesSeen.contains(named))
                namesSeen << named;
        }
    }
    if (!byPath.empty())
        return byPath;
    if (namesSeen.size() > 1) {
        *ambiguity = namesSeen.join(QLatin1Char('\n'));
        return {};
    }
    return byName;
}

// The board without the editor's caret marks, which are no part of any price.
std::unique_ptr<MenuLayout> WithoutCaretMarks(const MenuLayout &layout)
{
    auto copy = std::make_unique<MenuLayout>(layout);
    copy->forEachBoardStrip([](int, int, Strip &strip) { RemoveCaretMarker(strip.prices().Text); });
    return copy;
}

} // namespace

void ExportPricesCommand(Editor &editor)
{
    if (!editor.document().hasBoard())
        return;
    const QString proposed = QFileInfo(editor.document().names().baseName).completeBaseName() + QStringLiteral("_PRICES.csv");
    const QString path = editor.prompter().askSaveFileName(kExportPricesTitle, editor.paths().currentFolder, proposed,
                                                          kPriceListSaveFilter);
    if (path.isEmpty())
        return;
    const QString named = ListedLayoutName(QFileInfo(path).absolutePath(), OpenLayoutPath(editor));
    std::vector<PriceRow> rows;
    for (const PriceEntry &entry : ExtractPriceEntries(*WithoutCaretMarks(editor.layout())))
        rows.push_back(RowForEntry(named, entry));
    QString error;
    if (!WritePriceListFile(path, rows, &error))
        editor.prompter().showMessage(QStringLiteral("The price list could not be written (%1):\n\n").arg(error) + path);
}

void ImportPricesCommand(Editor &editor)
{
    if (!editor.document().hasBoard())
        return;
    const QString path =
        editor.prompter().askOpenFileName(kImportPricesTitle, editor.paths().currentFolder, kPriceListFilter);
    if (path.isEmpty())
        return;
    const PriceListReading reading = ReadPriceListFile(path);
    if (!reading.errors.isEmpty()) {
        editor.prompter().showMessage(QStringLiteral("The price list has faults; nothing was changed.\n\n") + path
                                      + QStringLiteral("\n\n") + reading.errors.join(QLatin1Char('\n')));
        return;
    }
    QString ambiguity;
    const std::vector<PriceRow> rows = RowsOfOpenBoard(editor, path, reading.rows, &ambiguity);
    if (!ambiguity.isEmpty()) {
        editor.prompter().showMessage(QStringLiteral("The price list names more than one layout called %1; nothing "
                                                     "was changed.\n\n")
                                          .arg(editor.document().names().layoutName)
                                      + ambiguity);
        return;
    }
    if (rows.empty()) {
        editor.prompter().showMessage(QStringLiteral("The price list has no rows for this board (")
                                      + editor.document().names().layoutName + QStringLiteral(")."));
        return;
    }
    // The edit modes end first, so that the working strip and the text boxes cannot write an old
    // text back.
    if (editor.editMode() != EditMode::Idle)
        editor.LeaveCurrentMode();
    editor.LeaveEditModes();
    for (ControlId box : kTextBoxes)
        editor.controls().setText(box, QString());
    const std::unique_ptr<MenuLayout> changed = WithoutCaretMarks(editor.layout());
    const PriceApplication applied = ApplyPriceRows(*changed, rows);
    if (!applied.refused.isEmpty()) {
        editor.prompter().showMessage(QStringLiteral("These rows no longer match the board; nothing was changed.\n\n")
                                      + applied.refused.join(QLatin1Char('\n')));
        return;
    }
    if (applied.changes.empty()) {
        editor.prompter().showMessage(QStringLiteral("The price list changes nothing on this board."));
        return;
    }
    // One undo step for the whole list.
    editor.StartNewAction();
    editor.ChangeBoard(QStringLiteral("Import Prices"), [&](MenuLayout &layout) {
        for (const PriceChange &change : applied.changes)
            layout.strip(change.column, change.row).prices().Text =
                changed->strip(change.column, change.row).prices().Text;
    });
    editor.StartNewAction();
    editor.Refresh({true, false});
    editor.prompter().showMessage(QStringLiteral("%1 price entries changed.").arg(applied.changes.size()));
}

} // namespace tavrin

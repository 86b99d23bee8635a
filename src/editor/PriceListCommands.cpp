#include "editor/PriceListCommands.h"

#include "editor/Editor.h"
#include "editor/EditingControls.h"
#include "prices/PriceList.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace tavrin {

namespace {

QString OpenLayoutPath(const Editor &editor)
{
    return editor.document().names().layoutFolder + QLatin1Char('/') + editor.document().names().layoutName;
}

bool NamesOpenLayout(const Editor &editor, const QString &rowLayout)
{
    const QString open = OpenLayoutPath(editor);
    if (QFileInfo(rowLayout).absoluteFilePath() == QFileInfo(open).absoluteFilePath())
        return true;
    // Only the file-name part: "\" of a list made on Windows counts as a separator too.
    const QString rowName = rowLayout.mid(std::max(rowLayout.lastIndexOf(u'/'), rowLayout.lastIndexOf(u'\\')) + 1);
    return rowName == editor.document().names().layoutName;
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
    const QString proposed =
        QFileInfo(editor.document().names().baseName).completeBaseName() + QStringLiteral("_PRICES.csv");
    const QString path = editor.prompter().askSaveFileName(kExportPricesTitle, editor.paths().currentFolder, proposed,
                                                          kPriceListFilter);
    if (path.isEmpty())
        return;
    std::vector<PriceRow> rows;
    for (const PriceEntry &entry : ExtractPriceEntries(*WithoutCaretMarks(editor.layout())))
        rows.push_back(RowForEntry(OpenLayoutPath(editor), entry));
    if (!WriteFileReplacing(path, WritePriceListCsv(rows)))
        editor.prompter().showMessage(QStringLiteral("The price list could not be written:\n\n") + path);
}

void ImportPricesCommand(Editor &editor)
{
    if (!editor.document().hasBoard())
        return;
    const QString path =
        editor.prompter().askOpenFileName(kImportPricesTitle, editor.paths().currentFolder, kPriceListFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        editor.prompter().showMessage(QStringLiteral("The price list could not be read:\n\n") + path);
        return;
    }
    const PriceListReading reading = ReadPriceListCsv(file.readAll());
    std::vector<PriceRow> rows;
    for (const PriceRow &row : reading.rows)
        if (NamesOpenLayout(editor, row.layout))
            rows.push_back(row);
    if (!reading.errors.isEmpty()) {
        editor.prompter().showMessage(QStringLiteral("The price list has faults; nothing was changed.\n\n")
                                      + reading.errors.join(QLatin1Char('\n')));
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

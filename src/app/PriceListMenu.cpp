#include "app/PriceListMenu.h"

#include "dialogs/CheckBoardDialog.h"
#include "editor/Editor.h"
#include "editor/PriceListCommands.h"
#include "editor/BoardCheckCommands.h"

#include <QMenu>

namespace tavrin {

namespace {

void CheckBoardCommand(Editor &editor, QWidget *window)
{
    if (!editor.document().hasBoard())
        return;
    const std::vector<BoardFinding> findings = CheckOpenBoard(editor);
    if (findings.empty()) {
        editor.prompter().showMessage(QStringLiteral("Check Board found nothing to report."));
        return;
    }
    CheckBoardDialog dialog(findings, window);
    dialog.onPick = [&editor, &findings](int index) {
        if (index >= 0 && index < int(findings.size()))
            SelectStripOfFinding(editor, findings[size_t(index)].column, findings[size_t(index)].row);
    };
    dialog.exec();
}

} // namespace

void AddPriceListCommands(QMenu *menu, Editor &editor, QWidget *window)
{
    menu->addSeparator();
    QObject::connect(menu->addAction(QStringLiteral("Export Prices...")), &QAction::triggered, window,
                     [&editor] { ExportPricesCommand(editor); });
    QObject::connect(menu->addAction(QStringLiteral("Import Prices...")), &QAction::triggered, window,
                     [&editor] { ImportPricesCommand(editor); });
    QObject::connect(menu->addAction(QStringLiteral("Check Board")), &QAction::triggered, window,
                     [&editor, window] { CheckBoardCommand(editor, window); });
}

} // namespace tavrin

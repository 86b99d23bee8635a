#include "app/CTavrinDlg.h"
#include "dialogs/CheckBoardDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"
#include "ModalDialogs.h"
#include "TestApplication.h"
#include "samples/SampleBoards.h"

#include <QAbstractButton>
#include <QTreeWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// The action of the window's menus with this text, wherever it sits.
QAction *MenuAction(QWidget *window, const QString &text)
{
    for (QMenu *menu : window->findChildren<QMenu *>())
        for (QAction *action : menu->actions())
            if (action->text() == text)
                return action;
    return nullptr;
}

TEST(PriceListMenu, CheckBoardListsFindingsAndAClickSelectsTheStrip)
{
    test::App();
    test::TempDataDir data;
    test::ScriptedPrompter prompter;
    CTavrinDlg window(false, nullptr);
    window.usePrompter(prompter);
    window.endProcess = [](int) {};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const char *text : {"Export Prices...", "Import Prices...", "Check Board"})
        EXPECT_NE(MenuAction(&window, text), nullptr) << text;

    QString error;
    const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, data.file("menus"), &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    prompter.fileNames = {written[0]};
    qobject_cast<QAbstractButton *>(window.controls().widget(ControlId::OpenLayout))->click();
    ASSERT_FALSE(window.editor().document().backgroundName().isEmpty());

    QStringList listed, headings;
    test::WhenModal<CheckBoardDialog>([&](CheckBoardDialog *dialog) {
        QTreeWidget *tree = dialog->tree();
        for (int g = 0; g < tree->topLevelItemCount(); ++g) {
            QTreeWidgetItem *group = tree->topLevelItem(g);
            headings << group->text(0);
            for (int i = 0; i < group->childCount(); ++i)
                listed << group->child(i)->text(0);
        }
        const QList<QTreeWidgetItem *> combo =
            tree->findItems("Combo Meal\": price", Qt::MatchContains | Qt::MatchRecursive);
        if (!combo.isEmpty()) {
            tree->scrollToItem(combo[0]);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(combo[0]).center());
        }
        dialog->reject();
    });
    MenuAction(&window, "Check Board")->trigger();
    // Findings come under a heading of their kind.
    EXPECT_EQ(listed, QStringList{"column 1, row 15 \"Combo Meal\": price without a calorie count: 3.00"})
        << listed.join("\n").toStdString();
    EXPECT_EQ(headings, QStringList{"Prices without calorie counts (1)"});
    EXPECT_EQ(window.editor().editMode(), EditMode::Background);
    EXPECT_EQ(window.editor().backgroundCell(), (CellPosition{0, 14}));
}

} // namespace
} // namespace tavrin

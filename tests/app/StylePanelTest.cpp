// The style panel in the window: a colour picked from it shows on the board at once, and the
// window's Undo and Redo keys walk the change.
#include "app/CTavrinDlg.h"
#include "editor/ColourPalette.h"
#include "layout/StripOperations.h"
#include "samples/SampleBoards.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"
#include "TestApplication.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

struct StylePanelWindow : ::testing::Test {
    test::TempDataDir data;
    test::ScriptedPrompter prompter;
    std::unique_ptr<CTavrinDlg> window;

    void SetUp() override
    {
        test::App();
        window = std::make_unique<CTavrinDlg>(false, nullptr);
        window->usePrompter(prompter);
        window->endProcess = [](int) {};
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QString error;
        const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, data.file("menus"), &error);
        ASSERT_FALSE(written.isEmpty()) << error.toStdString();
        prompter.fileNames = {written[0]};
        qobject_cast<QAbstractButton *>(window->controls().widget(ControlId::OpenLayout))->click();
        ASSERT_FALSE(window->editor().document().backgroundName().isEmpty());
    }
    QComboBox *combo(const char *name) { return window->findChild<QComboBox *>(name); }
};

TEST_F(StylePanelWindow, APickedStripColourShowsOnTheBoardAndUndoAndRedoKeysWalkIt)
{
    Editor &editor = window->editor();
    auto *toggle = window->findChild<QAbstractButton *>("styleToggle");
    ASSERT_NE(toggle, nullptr);
    toggle->click();
    QComboBox *stripColour = combo("styleStripColour");
    ASSERT_TRUE(stripColour->isVisibleTo(window.get()));
    ASSERT_NE(stripColour, nullptr);
    EXPECT_FALSE(stripColour->isEnabled()) << "nothing is selected yet";

    // A text strip without a fill of its own.
    CellPosition cell{-1, -1};
    editor.layout().forEachBoardStrip([&](int c, int r, const Strip &s) {
        if (cell.column < 0 && IsClear(s.BackGroundColor) && s.Picture.SubImageFileName.isEmpty()
            && !s.mainItem().Text.isEmpty())
            cell = {c, r};
    });
    ASSERT_GE(cell.column, 0);
    editor.EnterBackgroundMode(cell);
    EXPECT_TRUE(stripColour->isEnabled());
    EXPECT_FALSE(combo("styleTextColour")->isEnabled()) << "text controls wait for Text mode";
    EXPECT_EQ(stripColour->currentText(), "Clear");

    const QImage before = editor.renderer().shownBoard();
    const int red = stripColour->findText("Bright Red");
    ASSERT_GE(red, 0);
    stripColour->setCurrentIndex(red);
    emit stripColour->activated(red); // as a pick from the list does
    const Colour picked = ColourPalette()[stripColour->itemData(red).toInt()].value;
    EXPECT_EQ(editor.layout().strip(cell.column, cell.row).BackGroundColor, picked);
    EXPECT_TRUE(editor.document().isModified());
    EXPECT_NE(editor.renderer().shownBoard(), before) << "the board shows the colour at once";

    window->controls().widget(ControlId::ModeLabel)->parentWidget()->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(IsClear(editor.layout().strip(cell.column, cell.row).BackGroundColor));
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor.layout().strip(cell.column, cell.row).BackGroundColor, picked);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.layout().strip(cell.column, cell.row).BackGroundColor, picked);
}

TEST_F(StylePanelWindow, CtrlNStartsANewLayoutFromTheBackgroundAndGridAsked)
{
    Editor &editor = window->editor();
    editor.document().markSaved();
    const QString background = data.file("Plain.jpg");
    QImage image(1280, 720, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(background, "JPG"));
    prompter.fileNames = {background};
    prompter.gridSizes = {GridSize{3, 20}};
    window->controls().widget(ControlId::ModeLabel)->parentWidget()->setFocus();
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(editor.layout().NumberOfColumns, 3);
    EXPECT_EQ(editor.layout().NumberOfRows, 20);
    EXPECT_EQ(editor.document().names().layoutName, "Untitled_LAYOUT.MARBIX");
    EXPECT_TRUE(window->windowTitle().contains("Untitled_LAYOUT.MARBIX"));
}

} // namespace
} // namespace tavrin

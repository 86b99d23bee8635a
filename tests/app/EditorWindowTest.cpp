#include "app/CTavrinApp.h"
#include "app/CTavrinDlg.h"
#include "support/EditorSession.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"
#include "TestApplication.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"
#include "samples/SampleBoards.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::App;
using test::ScriptedPrompter;
using test::TempDataDir;

struct WindowFixture : ::testing::Test {
    TempDataDir data;
    ScriptedPrompter prompter;
    std::unique_ptr<CTavrinDlg> window;
    std::vector<int> exitCodes;

    void SetUp() override
    {
        App();
        window = std::make_unique<CTavrinDlg>(false, nullptr);
        window->usePrompter(prompter);
        window->endProcess = [this](int code) { exitCodes.push_back(code); };
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QString workingFolder() const { return window->editor().document().workingFolder(); }
    QAbstractButton *button(ControlId id)
    {
        return qobject_cast<QAbstractButton *>(window->controls().widget(id));
    }
};

TEST_F(WindowFixture, OpensMaximizedAndEmptyWithEveryControlCaptioned)
{
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(window->windowTitle().startsWith("Tavrin Ver 3.0."));
    const std::pair<ControlId, const char *> captions[] = {
        {ControlId::OpenLayout, "Open Marbix Layout File"},
        {ControlId::SaveLayoutAndTvImage, "Save Layout && TV Image Files"},
        {ControlId::Exit, "Exit"},
        {ControlId::LoadNewPicture, "Load New Picture"},
        {ControlId::DeleteMenuItem, "Delete Menu Item"},
        {ControlId::DeletePicture, "Delete Picture"},
        {ControlId::Undo, "Undo"},
        {ControlId::Print, "Print"},
        {ControlId::WhitePrintFormat, "White Bgnd Print Menu Format"},
        {ControlId::DisplayVerticalGrid, "Display Vertical Grid"},
        {ControlId::TabInstructions, "Tab Instructions"},
        {ControlId::HelpVideos, "Help Videos"},
        {ControlId::Micro, "Micro"},
        {ControlId::Macro, "Macro"},
        {ControlId::SelectedText, "Selected Text"},
        {ControlId::AllText, "All Text"},
        {ControlId::MainItemLabel, "Main Item"},
        {ControlId::SubItemsLabel, "SubItem"},
        {ControlId::PricesLabel, "Prices/Cals"},
        {ControlId::MoveTextGroup, "Move Text"},
        {ControlId::SizeTextGroup, "Size Text"},
        {ControlId::SizeAndMoveIncrementGroup, "Size and Move Increment"},
        {ControlId::MenuItemTextToBeMovedGroup, "Menu Item Text to be Moved"},
        {ControlId::LineSpacingLabel, "Line Spacing"},
        {ControlId::TabSpacingLabel, "Tab Spacing"},
        {ControlId::CalSpacingLabel, "Cal Spacing"},
    };
    for (const auto &[id, caption] : captions)
        EXPECT_EQ(window->controls().text(id), QString(caption)) << int(id);
    EXPECT_FALSE(window->controls().isVisible(ControlId::MainItemActive));
    EXPECT_FALSE(window->controls().isEnabled(ControlId::SaveLayoutAndTvImage));
    EXPECT_TRUE(window->controls().isEnabled(ControlId::OpenLayout));

    const QList<QAction *> menus = window->findChild<QMenuBar *>()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), "&File");
    QStringList items;
    for (QAction *action : menus[0]->menu()->actions())
        if (!action->isSeparator())
            items << action->text();
    EXPECT_EQ(items.mid(0, 3), (QStringList{"&Open...", "Save &As...", "Exit"}));
}

TEST_F(WindowFixture, EscapeAndEnterNeverCloseTheWindow)
{
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowFixture, ExitButtonAsksRemovesTheWorkingFolderAndEnds)
{
    test::MakeUnsavedChange(window->editor());
    prompter.answers = {Answer::Cancel, Answer::No};
    button(ControlId::Exit)->setEnabled(true);
    button(ControlId::Exit)->click();
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_TRUE(QDir(workingFolder()).exists());

    button(ControlId::Exit)->click();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_FALSE(QDir(workingFolder()).exists());
    EXPECT_EQ(prompter.shown, (QStringList{"Do you wish to save this image?", "Do you wish to save this image?"}));
}

TEST_F(WindowFixture, MenuExitEndsAtOnceAndLeavesTheWorkingFolder)
{
    test::MakeUnsavedChange(window->editor());
    QAction *exit = nullptr;
    for (QAction *action : window->findChild<QMenuBar *>()->actions()[0]->menu()->actions())
        if (action->text() == "Exit")
            exit = action;
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(QDir(workingFolder()).exists());
}

TEST_F(WindowFixture, WindowCloseCancelledStaysOpenOtherwiseTheWorkingFolderGoesWithTheWindow)
{
    test::MakeUnsavedChange(window->editor());
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->editor().document().isModified());

    prompter.answers = {Answer::No};
    EXPECT_TRUE(window->close());
    const QString folder = workingFolder();
    EXPECT_TRUE(QDir(folder).exists());
    window.reset();
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_TRUE(exitCodes.empty());
}

TEST(StartUpTest, AFileOnTheCommandLineIsRefused)
{
    ScriptedPrompter prompter;
    EXPECT_TRUE(CTavrinApp::RefuseFileOnCommandLine({"tavrin", "/menus/Lunch_LAYOUT.MARBIX"}, prompter));
    EXPECT_EQ(prompter.shown, QStringList{"This file must be opened\nwith Marbix editing software."});
    prompter.shown.clear();
    EXPECT_FALSE(CTavrinApp::RefuseFileOnCommandLine({"tavrin"}, prompter));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

// The real program, without a display to show its box on: it refuses the file, says why,
// ends with 0, and has made no folder by then.
TEST(StartUpTest, RefusalEndsWithZeroBeforeAnyFolderIsMade)
{
    TempDataDir scratch;
    const QString dataFolder = scratch.file("data-not-made");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("TAVRIN_DATA_DIR", dataFolder);
    process.setProcessEnvironment(environment);
    process.start(TAVRIN_EDITOR_PATH, {"Lunch_LAYOUT.MARBIX"});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().contains("This file must be opened\nwith Marbix editing software."));
    EXPECT_FALSE(QDir(dataFolder).exists());
}


// With a board loaded, the window shows it scaled into the preview area below the text boxes,
// and the vertical grid over it when asked.
TEST_F(WindowFixture, ShowsTheComposedBoardInThePreviewArea)
{
    Editor &editor = window->editor();
    const QString folder = data.file("board");
    auto layout = std::make_unique<MenuLayout>();
    samples::BuildSample(samples::SampleKind::Landscape, folder, *layout);
    ASSERT_TRUE(window->document().newBoardFrom(*layout, folder + "/Background.jpg").ok());
    window->resize(1400, 900);
    QApplication::processEvents();
    editor.WindowResized();
    ASSERT_TRUE(editor.Refresh());

    const PreviewGeometry &preview = editor.renderer().preview();
    const QRect anchor = window->controls().controlRect(ControlId::MainItemBox);
    EXPECT_EQ(preview.previewArea.x(), anchor.x());
    EXPECT_GE(preview.previewArea.y(), anchor.y() + anchor.height() + 24);
    // Shown from the background's reduced copy while it is edited.
    EXPECT_EQ(preview.boardWidth, editor.backgroundProxyInUse() ? 1600 : 1920);

    QWidget *client = window->controls().widget(ControlId::MainItemBox)->parentWidget();
    const QImage shown = client->grab().toImage();
    // The burgundy heading of the first column, a few pixels into the board.
    const QPoint heading(preview.previewArea.x() + 10, preview.previewArea.y() + 5);
    const QColor colour = shown.pixelColor(heading);
    EXPECT_NEAR(colour.red(), 122, 20);
    EXPECT_NEAR(colour.green(), 28, 20);
    EXPECT_NEAR(colour.blue(), 61, 20);
    // Outside the preview area the window keeps its face colour.
    EXPECT_EQ(shown.pixelColor(preview.previewArea.x() - 5, preview.previewArea.y() + 5),
              client->palette().color(QPalette::Window));
}


TEST_F(WindowFixture, ResizingBeforeAnyLayoutDrawsNothing)
{
    window->resize(900, 700);
    QApplication::processEvents();
    EXPECT_TRUE(window->editor().renderer().shownBoard().isNull());
    EXPECT_EQ(window->editor().renderer().preview().boardWidth, 0);
}


TEST_F(WindowFixture, OpenButtonShowsTheChosenLayout)
{
    QString error;
    const QStringList written = samples::WriteSample(samples::SampleKind::Portrait, data.file("menus"), &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    prompter.fileNames = {written[1]}; // the TV image: its package opens
    button(ControlId::OpenLayout)->click();
    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open MarbixLayout File"});
    EXPECT_TRUE(window->windowTitle().contains("MarbixFile : SamplePortrait_LAYOUT.MARBIX      Resolution: 1080 x 1920"));
    EXPECT_TRUE(window->controls().isEnabled(ControlId::SaveLayoutAndTvImage));

    const PreviewGeometry &preview = window->editor().renderer().preview();
    QWidget *client = window->controls().widget(ControlId::MainItemBox)->parentWidget();
    const QImage shown = client->grab().toImage();
    const QColor heading = shown.pixelColor(preview.previewArea.x() + 5, preview.previewArea.y() + 5);
    EXPECT_NEAR(heading.red(), 122, 20) << "the burgundy heading strip of the portrait sample";
    EXPECT_NEAR(heading.blue(), 61, 20);
}


// A person's session on the real window: open a board, click an item, type, copy a strip down
// with the right button, undo.
TEST_F(WindowFixture, ClickTypeCopyAndUndoOnTheBoard)
{
    QString error;
    const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, data.file("menus"), &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    prompter.fileNames = {written[0]};
    button(ControlId::OpenLayout)->click();
    Editor &editor = window->editor();
    QWidget *client = window->controls().widget(ControlId::MainItemBox)->parentWidget();
    auto centre = [](const RectF32 &r) { return ToQRectF(r).center().toPoint(); };

    // Click the main item of the first burger and type over it.
    QTest::mouseClick(client, Qt::LeftButton, {}, centre(editor.geometry()(0, 1).hitBoxes[MainItemGroup]));
    ASSERT_EQ(editor.editMode(), EditMode::Text);
    const QImage before = editor.renderer().shownBoard().copy();
    auto *mainBox = window->controls().widget(ControlId::MainItemBox);
    mainBox->setFocus();
    QTest::keyClick(mainBox, Qt::Key_End);
    QTest::keyClicks(mainBox, " Deluxe");
    EXPECT_EQ(editor.layout().strip(0, 1).mainItem().Text, "Classic Burger Deluxe");
    EXPECT_NE(editor.renderer().shownBoard(), before) << "what is typed appears on the board at once";

    // Copy "Buffalo Wrap" into the empty cell below it with the right button, then undo it.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    const QPoint from = centre(editor.geometry()(1, 4).hitBoxes[MainItemGroup]);
    const QPoint to = centre(editor.geometry()(1, 5).cellRect);
    QTest::mousePress(client, Qt::RightButton, {}, from);
    QTest::mouseRelease(client, Qt::RightButton, {}, to);
    EXPECT_EQ(editor.layout().strip(1, 5).mainItem().Text, "Buffalo Wrap");
    button(ControlId::Undo)->click();
    EXPECT_FALSE(IsStripInUse(editor.layout().strip(1, 5)));
    EXPECT_EQ(editor.layout().strip(1, 4).mainItem().Text, "Buffalo Wrap");
}


struct LoadedWindow : WindowFixture {
    QWidget *client = nullptr;
    void SetUp() override
    {
        WindowFixture::SetUp();
        QString error;
        const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, data.file("menus"), &error);
        ASSERT_FALSE(written.isEmpty()) << error.toStdString();
        prompter.fileNames = {written[0]};
        button(ControlId::OpenLayout)->click();
        client = window->controls().widget(ControlId::MainItemBox)->parentWidget();
    }
    // Input events with the window system's time stamps, on a clock far from the test library's.
    static constexpr quint64 kStampBase = 2'000'000'000;
    void sendMouse(QWidget *to, QEvent::Type type, Qt::MouseButton button, QPoint at, quint64 stamp)
    {
        QMouseEvent event(type, QPointF(at), QPointF(to->mapToGlobal(at)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), {});
        event.setTimestamp(stamp);
        QApplication::sendEvent(to, &event);
    }
    void sendKey(QWidget *to, QEvent::Type type, quint64 stamp)
    {
        QKeyEvent event(type, Qt::Key_X, {}, QStringLiteral("x"));
        event.setTimestamp(stamp);
        QApplication::sendEvent(to, &event);
    }
};

TEST_F(LoadedWindow, AKeyHeldInATextBoxRepeatsAtTheSlowPaceWhenRepeatsComeAsPressReleasePairs)
{
    Editor &editor = window->editor();
    QTest::mouseClick(client, Qt::LeftButton, {},
                      ToQRectF(editor.geometry()(0, 1).hitBoxes[MainItemGroup]).center().toPoint());
    ASSERT_EQ(editor.editMode(), EditMode::Text);
    auto *mainBox = window->controls().widget(ControlId::MainItemBox);
    mainBox->setFocus();
    QTest::keyClick(mainBox, Qt::Key_End);
    const QString before = editor.layout().strip(0, 1).mainItem().Text;

    // Held for 3 s: the first press, then after half a second a release/press pair every 33 ms.
    quint64 t = kStampBase;
    sendKey(mainBox, QEvent::KeyPress, t);
    for (t += 500; t <= kStampBase + 3000; t += 33) {
        sendKey(mainBox, QEvent::KeyRelease, t);
        sendKey(mainBox, QEvent::KeyPress, t);
    }
    sendKey(mainBox, QEvent::KeyRelease, t);
    const int typed = int(editor.layout().strip(0, 1).mainItem().Text.size() - before.size());
    EXPECT_GE(typed, 6);
    EXPECT_LE(typed, 8);

    // Typed twice in quick succession by hand, a key is not a held one.
    sendKey(mainBox, QEvent::KeyPress, t + 100);
    sendKey(mainBox, QEvent::KeyRelease, t + 160);
    sendKey(mainBox, QEvent::KeyPress, t + 220);
    EXPECT_EQ(int(editor.layout().strip(0, 1).mainItem().Text.size() - before.size()), typed + 2);
}

TEST_F(LoadedWindow, ClicksMadeWhileTheEditorWasBusyAreDroppedOnEveryControl)
{
    Editor &editor = window->editor();
    // A prompt event; then clicks made half a second before the load ended reach the window.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    sendMouse(client, QEvent::MouseMove, Qt::NoButton, QPoint(5, 5), kStampBase);
    ASSERT_GT(editor.ignoreClicksBefore(), 0);
    const quint64 duringLoad = kStampBase - quint64(now - editor.ignoreClicksBefore()) - 500;

    QWidget *grid = window->controls().widget(ControlId::DisplayVerticalGrid);
    ASSERT_TRUE(grid->isEnabled());
    const QPoint gridCentre = grid->rect().center();
    sendMouse(grid, QEvent::MouseButtonPress, Qt::LeftButton, gridCentre, duringLoad);
    sendMouse(grid, QEvent::MouseButtonRelease, Qt::LeftButton, gridCentre, duringLoad + 50);
    EXPECT_FALSE(button(ControlId::DisplayVerticalGrid)->isChecked());

    const QPoint burger = ToQRectF(editor.geometry()(0, 1).hitBoxes[MainItemGroup]).center().toPoint();
    sendMouse(client, QEvent::MouseButtonPress, Qt::LeftButton, burger, duringLoad + 100);
    sendMouse(client, QEvent::MouseButtonRelease, Qt::LeftButton, burger, duringLoad + 150);
    EXPECT_EQ(editor.editMode(), EditMode::Idle);

    // A click made now goes through.
    const quint64 later = kStampBase + quint64(QDateTime::currentMSecsSinceEpoch() - now);
    sendMouse(grid, QEvent::MouseButtonPress, Qt::LeftButton, gridCentre, later);
    sendMouse(grid, QEvent::MouseButtonRelease, Qt::LeftButton, gridCentre, later + 1);
    EXPECT_TRUE(button(ControlId::DisplayVerticalGrid)->isChecked());
}

} // namespace
} // namespace tavrin

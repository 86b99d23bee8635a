#include "editor/Editor.h"
#include "editor/WindowTitle.h"
#include "platform/InstanceLock.h"
#include "support/EditorSession.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TableControls;
using test::TempDataDir;

void Touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

struct EditorFixture : ::testing::Test {
    TempDataDir data;
    TableControls controls;
    ScriptedPrompter prompter;
    BoardDocument document{DataFolderPath()};
    Editor editor{controls, prompter, document};
    int saves = 0;
    bool saveSucceeds = true; // a save that wrote its files clears the modified flag
    int refreshes = 0;

    void SetUp() override
    {
        editor.saveCommand = [this] {
            ++saves;
            if (saveSucceeds)
                editor.document().markSaved();
        };
        editor.onRefresh = [this](RefreshRequest) { ++refreshes; };
    }
    void start(bool otherInstanceRunning = false)
    {
        editor.setOtherInstanceRunning(otherInstanceRunning);
        editor.Initialise(1733650000, 4242, nullptr);
    }
};

TEST_F(EditorFixture, StartMakesItsOwnWorkingFolderAndShowsAnEmptyEditor)
{
    start();
    EXPECT_EQ(editor.paths().dataFolder, QDir::cleanPath(data.path()));
    EXPECT_EQ(editor.document().workingFolder(), editor.paths().dataFolder + "/ZUP1733650000-4242");
    EXPECT_TRUE(QDir(editor.document().workingFolder()).exists());
    EXPECT_TRUE(editor.paths().programFolder.endsWith('/'));
    EXPECT_EQ(editor.paths().currentFolder, editor.paths().programFolder);
    EXPECT_EQ(controls.windowTitle, QString("Tavrin Ver ") + VersionText());
    EXPECT_EQ(controls.text(ControlId::FontBox), "Segoe UI");
    EXPECT_TRUE(editor.document().backgroundName().isEmpty());
    // Nothing to save or print before a board is loaded.
    for (ControlId id : {ControlId::SaveLayoutAndTvImage, ControlId::Print, ControlId::LoadNewPicture,
                         ControlId::MoveUp, ControlId::TabInstructions, ControlId::DisplayVerticalGrid,
                         ControlId::DeleteMenuItem, ControlId::AllText})
        EXPECT_FALSE(controls.isEnabled(id)) << int(id);
    EXPECT_EQ(editor.layout().NumberOfColumns, 2);
    EXPECT_EQ(editor.layout().NumberOfRows, 16);
}

TEST_F(EditorFixture, StartRemovesOnlyEarlierWorkingFoldersWhenNoOtherRunIsGoingOn)
{
    const QString root = data.path();
    QDir(root).mkpath("ZUP1733640000/sub");
    Touch(root + "/ZUP1733640000/a.jpg");
    Touch(root + "/ZUP1733640000/sub/b.jpg");
    QDir(root).mkpath("ZUPx");
    QDir(root).mkpath("Zup1");
    Touch(root + "/RotationData.txt");

    start();

    EXPECT_FALSE(QDir(root + "/ZUP1733640000").exists());
    EXPECT_FALSE(QDir(root + "/ZUPx").exists());
    EXPECT_TRUE(QDir(root + "/Zup1").exists());
    EXPECT_TRUE(QFile::exists(root + "/RotationData.txt"));
}

TEST_F(EditorFixture, SecondRunLeavesTheFirstRunsWorkingFolderAlone)
{
    QDir(data.path()).mkpath("ZUP1733640000-17");
    Touch(data.path() + "/ZUP1733640000-17/Background.jpg");
    start(/*otherInstanceRunning=*/true);
    EXPECT_TRUE(QFile::exists(data.path() + "/ZUP1733640000-17/Background.jpg"));
    EXPECT_TRUE(QDir(editor.document().workingFolder()).exists());
}

TEST(InstanceLockTest, ALaterRunSeesTheEarlierOne)
{
    TempDataDir data;
    InstanceLock first, second;
    EXPECT_FALSE(first.acquire(data.path()));
    EXPECT_TRUE(second.acquire(data.path()));
    EXPECT_TRUE(first.held());
    EXPECT_TRUE(second.held());
}

TEST(InstanceLockTest, NoDataFolderMeansNoOtherRunAndTheLockComesLater)
{
    TempDataDir data;
    const QString folder = data.file("not-yet");
    InstanceLock lock;
    EXPECT_FALSE(lock.acquire(folder));
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(QDir(folder).exists()); // taking the lock makes no folder
    QDir().mkpath(folder);
    lock.acquireIfNotHeld(folder);
    EXPECT_TRUE(lock.held());
    InstanceLock later;
    EXPECT_TRUE(later.acquire(folder));
}

TEST_F(EditorFixture, CloseCheckAsksOnlyWhenModifiedAndFollowsTheAnswer)
{
    struct Case {
        bool modified;
        Answer answer;
        bool saveSucceeds;
        bool mayClose;
        int saves;
        bool modifiedAfter;
        int questions;
    };
    const Case cases[] = {
        {false, Answer::Cancel, true, true, 0, false, 0}, // nothing changed: nothing asked
        {true, Answer::Cancel, true, false, 0, true, 1},  // stays open, still modified
        {true, Answer::No, true, true, 0, true, 1},    // closes unsaved, as the user said
        {true, Answer::Yes, true, true, 1, false, 1},  // saved, then closes
        {true, Answer::Yes, false, false, 1, true, 1}, // the save failed or was cancelled: stays open
    };
    start();
    for (const Case &c : cases) {
        if (c.modified)
            test::MakeUnsavedChange(editor);
        else
            editor.document().markSaved();
        prompter.shown.clear();
        prompter.answers = {c.answer};
        saveSucceeds = c.saveSucceeds;
        saves = 0;
        EXPECT_EQ(editor.PromptSaveOnClose(), c.mayClose);
        EXPECT_EQ(saves, c.saves);
        EXPECT_EQ(editor.document().isModified(), c.modifiedAfter);
        ASSERT_EQ(prompter.shown.size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(prompter.shown[0], "Do you wish to save this image?");
        }
    }
}

TEST_F(EditorFixture, CloseCheckReturnsTheBoardToItsNormalFormat)
{
    start();
    editor.setWhitePrint(true);
    refreshes = 0;
    EXPECT_TRUE(editor.PromptSaveOnClose());
    EXPECT_FALSE(controls.isChecked(ControlId::WhitePrintFormat));
    EXPECT_FALSE(editor.layout().WhitePrintBackground);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(EditorFixture, ExitButtonRemovesTheWorkingFolderUnlessCancelled)
{
    start();
    Touch(editor.document().workingFolder() + "/Background.jpg");
    test::MakeUnsavedChange(editor);
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(editor.ExitButton());
    EXPECT_TRUE(QFile::exists(editor.document().workingFolder() + "/Background.jpg"));

    prompter.answers = {Answer::No};
    EXPECT_TRUE(editor.ExitButton());
    EXPECT_FALSE(QDir(editor.document().workingFolder()).exists());
}

TEST_F(EditorFixture, ClosingTheWindowRemovesTheWorkingFolderWhenItGoes)
{
    start();
    Touch(editor.document().workingFolder() + "/Layout.XMARBIX");
    EXPECT_TRUE(editor.CloseRequested());
    EXPECT_TRUE(QDir(editor.document().workingFolder()).exists()); // still there until the window goes
    editor.WindowDestroyed();
    EXPECT_FALSE(QDir(editor.document().workingFolder()).exists());
}

} // namespace
} // namespace tavrin

// Failing loads and saves, in the editor and in the command-line tool: whatever fails, every
// file of the user's stays as it was. A folder tree of the user's (the layout being saved over,
// a TV image, an archive of their own, pictures, fonts, notes) is hashed before and after each
// operation; only the files the user asked to replace may change, and only when the operation
// succeeded.
#include "editor/Editor.h"
#include "document/MessageTexts.h"
#include "document/SaveOutput.h"
#include "images/ImageImport.h"
#include "images/ImportTestPictures.h"
#include "platform/SafeFile.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"
#include "support/TreeSnapshot.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TableControls;
using test::TempDataDir;
using test::TreeSnapshot;

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void SetMode(const QString &path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

int RunCli(const QStringList &arguments)
{
    QProcess process;
    process.start(TAVRIN_CLI_PATH, arguments);
    if (!process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class NothingLost : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApplication();
        home = data.file("home");
        QString error;
        const QStringList sample = samples::WriteSample(samples::SampleKind::Landscape, home + "/samples", &error);
        ASSERT_EQ(sample.size(), 2) << error.toStdString();
        samplePackage = sample[0];

        document = std::make_unique<BoardDocument>(DataFolderPath());

        editor = std::make_unique<Editor>(controls, prompter, *document);
        editor->Initialise(1733650000, 1, nullptr);
        editor->saveCommand = [this] { editor->SaveLayoutAndTvImageCommand(); };
        prompter.fileNames = {samplePackage};
        editor->OpenLayoutCommand();
        ASSERT_FALSE(editor->document().backgroundName().isEmpty());
    }
    void TearDown() override
    {
        for (const QString &mount : mounts)
            ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
    }

    // A folder of the user's: the files of an earlier save of "Menu", and files that have
    // nothing to do with it, among them an archive named as earlier versions named their
    // temporary file.
    QString shop(const QString &name)
    {
        const QString folder = home + "/" + name;
        WriteFile(folder + "/Menu_LAYOUT.MARBIX", "the old package");
        WriteFile(folder + "/Menu_TV.jpg", "the old TV image");
        WriteFile(folder + "/Menu_LAYOUT.zip", "an archive of the user's");
        WriteFile(folder + "/Menu.MARBIX.tmp-notes", "notes of the user's");
        WriteFile(folder + "/pictures/burger.jpg", "burger");
        WriteFile(folder + "/fonts/Menu Sans.ttf", "a font");
        return folder;
    }

    // A small file system mounted at folder; false where mounting is not allowed.
    bool mountTmpfs(const QString &folder, const char *options)
    {
        QDir().mkpath(folder);
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) != 0)
            return false;
        mounts << folder;
        return true;
    }
    bool remountReadOnly(const QString &folder)
    {
        return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr)
            == 0;
    }
    // Fills the file system of folder until only `left` bytes are free.
    void fillUpTo(const QString &folder, qint64 left)
    {
        struct statvfs fs {};
        ASSERT_EQ(::statvfs(QFile::encodeName(folder).constData(), &fs), 0);
        const qint64 free = qint64(fs.f_bavail) * qint64(fs.f_frsize);
        ASSERT_GT(free, left);
        WriteFile(folder + "/filler.bin", QByteArray(free - left, 'f'));
    }

    // The editor's save of the name typed, saying Yes to every question about replacing.
    void editorSave(const QString &typed)
    {
        prompter.shown.clear();
        prompter.answers = {Answer::Yes, Answer::Yes};
        prompter.fileNames = {typed};
        test::MakeUnsavedChange(*editor);
        editor->SaveLayoutAndTvImageCommand();
    }
    void expectSaveFailed()
    {
        ASSERT_FALSE(prompter.shown.isEmpty());
        EXPECT_TRUE(prompter.shown.last().startsWith(kSaveFailureText));
        EXPECT_TRUE(editor->document().isModified()) << "a failed save leaves the edits unsaved";
    }

    TempDataDir data;
    QString home, samplePackage;
    TableControls controls;
    ScriptedPrompter prompter;
    std::unique_ptr<BoardDocument> document;
    std::unique_ptr<Editor> editor;
    QStringList mounts;
};

TEST_F(NothingLost, FailedLoadsAndSavesLeaveEveryFileAsItWas)
{
    const bool root = ::geteuid() == 0;
    const QString readOnly = home + "/read-only";
    const bool readOnlyMounted = root && mountTmpfs(readOnly, "size=1m");
    struct Case {
        const char *what;
        std::function<void(const QString &folder)> prepare; // in the user's folder, before the snapshot
        std::function<void(const QString &folder)> fail;
    };
    const auto nothing = [](const QString &) {};
    const Case cases[] = {
        {"a background that cannot be copied", nothing,
         [&](const QString &folder) {
             const QString oldBackground = editor->document().backgroundImagePath();
             prompter.shown.clear();
             prompter.fileNames = {folder + "/pictures/gone.jpg"};
             editor->LoadBackgroundCommand();
             EXPECT_EQ(prompter.shown.size(), 1);
             EXPECT_EQ(editor->document().backgroundImagePath(), oldBackground);
         }},
        {"a picture that cannot be copied", nothing,
         [&](const QString &folder) {
             const QString oldPicture = editor->layout().strip(0, 0).Picture.SubImageFileName;
             prompter.shown.clear();
             prompter.fileNames = {folder + "/pictures/gone.jpg"};
             editor->LoadPictureCommand(0, 0);
             EXPECT_EQ(prompter.shown, QStringList{PictureNotCopiedMessage(folder + "/pictures/gone.jpg")});
             EXPECT_EQ(editor->layout().strip(0, 0).Picture.SubImageFileName, oldPicture);
         }},
        {"a save into a folder that is a plain file", nothing,
         [&](const QString &folder) {
             editorSave(folder + "/pictures/burger.jpg/Menu");
             expectSaveFailed();
         }},
        {"a save into a read-only folder",
         [&](const QString &folder) {
             if (readOnlyMounted)
                 ASSERT_TRUE(remountReadOnly(folder));
             else
                 SetMode(folder, 0555);
         },
         [&](const QString &folder) {
             editorSave(folder + "/Menu");
             expectSaveFailed();
         }},
        {"a save over a read-only package",
         [](const QString &folder) { SetMode(folder + "/Menu_LAYOUT.MARBIX", 0444); },
         [&](const QString &folder) {
             editorSave(folder + "/Menu");
             expectSaveFailed();
         }},
        {"a save over a read-only TV image", [](const QString &folder) { SetMode(folder + "/Menu_TV.jpg", 0444); },
         [&](const QString &folder) {
             editorSave(folder + "/Menu");
             expectSaveFailed();
         }},
        {"a save with a folder named like the TV image",
         [](const QString &folder) {
             QFile::remove(folder + "/Menu_TV.jpg");
             WriteFile(folder + "/Menu_TV.jpg/inside.txt", "a folder of the user's");
         },
         [&](const QString &folder) {
             editorSave(folder + "/Menu");
             expectSaveFailed();
         }},
        {"tavrin-cli save over a read-only TV image",
         [](const QString &folder) { SetMode(folder + "/Menu_TV.jpg", 0444); },
         [&](const QString &folder) { EXPECT_EQ(RunCli({"save", samplePackage, folder + "/Menu"}), 1); }},
        {"tavrin-cli save with a folder named like the package",
         [](const QString &folder) {
             QFile::remove(folder + "/Menu_LAYOUT.MARBIX");
             WriteFile(folder + "/Menu_LAYOUT.MARBIX/inside.txt", "a folder of the user's");
         },
         [&](const QString &folder) { EXPECT_EQ(RunCli({"save", samplePackage, folder + "/Menu"}), 1); }},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QString::fromLatin1(c.what).contains("read-only folder") ? QStringLiteral("read-only")
                                                                                      : QStringLiteral("case%1").arg(++n);
        // Root writes into any folder; only a read-only mount stops it.
        if (name == "read-only" && root && !readOnlyMounted)
            continue;
        const QString folder = shop(name);
        c.prepare(folder);
        const TreeSnapshot before = TreeSnapshot::take(home);
        c.fail(folder);
        EXPECT_EQ(before.differences(TreeSnapshot::take(home)), QStringList{});
    }
    if (!readOnlyMounted)
        SetMode(readOnly, 0755);
}

// A drive with too little room for the new files: the editor's save and the command-line save
// both fail and leave the old pair, the user's other files and no temporary file behind.
TEST_F(NothingLost, ASaveOntoAFullDiskLeavesEveryFileAsItWas)
{
    const QString usb = home + "/usb";
    if (::geteuid() != 0 || !mountTmpfs(usb, "size=1m"))
        GTEST_SKIP() << "a 1 MiB tmpfs cannot be mounted here (needs root with CAP_SYS_ADMIN); "
                        "the full-disk case is not run";
    shop("usb");
    // Room for a little, not for a package and a TV image of a 1920 x 1080 board.
    fillUpTo(usb, 96 * 1024);

    TreeSnapshot before = TreeSnapshot::take(home);
    editorSave(usb + "/Menu");
    expectSaveFailed();
    EXPECT_EQ(before.differences(TreeSnapshot::take(home)), QStringList{});

    EXPECT_EQ(RunCli({"save", samplePackage, usb + "/Menu"}), 1);
    EXPECT_EQ(before.differences(TreeSnapshot::take(home)), QStringList{});
}

// A full working folder: a background or picture that does not fit is reported, and the board
// keeps what it had.
TEST_F(NothingLost, LoadsIntoAFullWorkingFolderChangeNothing)
{
    const QString smallWork = data.file("small-work");
    if (::geteuid() != 0 || !mountTmpfs(smallWork, "size=64k"))
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (needs root with CAP_SYS_ADMIN); "
                        "the full working folder case is not run";
    fillUpTo(smallWork, 4096);
    const QString picture = home + "/pictures/big.jpg";
    WriteFile(picture, test::EncodeImage(test::Noise(300, 300), "jpg"));
    // The board's files are now on the small disk.
    editor->document().adoptWorkingFolder(smallWork);
    const QString oldBackground = editor->document().backgroundImagePath();
    const QString oldPicture = editor->layout().strip(0, 0).Picture.SubImageFileName;
    editor->document().markSaved();
    const TreeSnapshot before = TreeSnapshot::take(home);

    prompter.shown.clear();
    prompter.fileNames = {picture};
    editor->LoadBackgroundCommand();
    EXPECT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(editor->document().backgroundImagePath(), oldBackground);

    prompter.shown.clear();
    prompter.fileNames = {picture};
    editor->LoadPictureCommand(0, 0);
    EXPECT_EQ(prompter.shown, QStringList{PictureNotCopiedMessage(picture)});
    EXPECT_EQ(editor->layout().strip(0, 0).Picture.SubImageFileName, oldPicture);
    EXPECT_FALSE(editor->document().isModified());

    EXPECT_EQ(before.differences(TreeSnapshot::take(home)), QStringList{});
    EXPECT_EQ(QDir(smallWork).entryList(QDir::Files | QDir::Hidden), QStringList{"filler.bin"});
}

// The table above would pass for an operation that never touches anything; a save that works
// replaces exactly the two files it was asked to, and nothing else.
TEST_F(NothingLost, ASaveThatWorksReplacesOnlyTheTwoFilesAskedFor)
{
    const QString folder = shop("works");
    const TreeSnapshot before = TreeSnapshot::take(home);
    editorSave(folder + "/Menu");
    EXPECT_TRUE(prompter.shown.last().contains("FILE SAVED CONFIRMATION!"));
    EXPECT_FALSE(editor->document().isModified());
    EXPECT_EQ(before.differences(TreeSnapshot::take(home)),
              (QStringList{"* works/Menu_LAYOUT.MARBIX", "* works/Menu_TV.jpg"}));
    EXPECT_EQ(before.differences(TreeSnapshot::take(home), {"works/Menu_LAYOUT.MARBIX", "works/Menu_TV.jpg"}),
              QStringList{});

    EXPECT_EQ(RunCli({"save", samplePackage, folder + "/Menu"}), 0);
    EXPECT_EQ(before.differences(TreeSnapshot::take(home), {"works/Menu_LAYOUT.MARBIX", "works/Menu_TV.jpg"}),
              QStringList{});
}

// Names up to the file system's limit of 255 bytes save: the temporary files are never longer
// than the files they become, and a name is never cut inside a character.
TEST_F(NothingLost, NamesCloseToTheFileSystemLimitSave)
{
    const struct {
        QString base;
    } cases[] = {
        {QString(232, u'm')},
        {QString(241, u'm')}, // "_LAYOUT.MARBIX" brings it to 255 bytes
        {QString(120, QChar(0xe9))}, // two bytes a character in UTF-8
        {QStringLiteral("A")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.base.size());
        const QString folder = home + "/long";
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        editorSave(folder + "/" + c.base);
        ASSERT_FALSE(prompter.shown.isEmpty());
        EXPECT_TRUE(prompter.shown.last().contains("FILE SAVED CONFIRMATION!")) << prompter.shown.last().toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                  (QStringList{c.base + "_LAYOUT.MARBIX", c.base + "_TV.jpg"}));
    }
}

// A save killed before it could clean up leaves its temporary files beside the two files. The
// next save to the same name removes them, and nothing else: not the temporaries of another
// name, not a link or a folder that happens to bear such a name, not the user's own files.
TEST_F(NothingLost, TheNextSaveRemovesTheTemporariesOfAKilledSave)
{
    const QString folder = shop("killed");
    const QString otherName = CreateTemporaryBeside(folder + "/Dinner_TV.jpg");
    const TreeSnapshot before = TreeSnapshot::take(home);
    QStringList stale;
    for (const char *name : {"Menu_TV.jpg", "Menu_LAYOUT.MARBIX", "Menu_TV.jpg", "Menu_LAYOUT.MARBIX"}) {
        stale << CreateTemporaryBeside(folder + "/" + name);
        ASSERT_FALSE(stale.last().isEmpty());
        WriteFile(stale.last(), "half written");
    }
    // Names only a temporary would have, but not plain files.
    const QString link = stale.takeLast();
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(folder + "/pictures/burger.jpg", link));
    const QString subfolder = stale.takeLast();
    QFile::remove(subfolder);
    ASSERT_TRUE(QDir().mkpath(subfolder));

    editorSave(folder + "/Menu");
    EXPECT_TRUE(prompter.shown.last().contains("FILE SAVED CONFIRMATION!"));
    for (const QString &path : stale)
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(subfolder).isDir());
    EXPECT_TRUE(QFileInfo::exists(otherName));
    const QString linkName = "killed/" + QFileInfo(link).fileName();
    const QString folderName = "killed/" + QFileInfo(subfolder).fileName();
    EXPECT_EQ(before.differences(TreeSnapshot::take(home),
                                 {"killed/Menu_LAYOUT.MARBIX", "killed/Menu_TV.jpg", linkName, folderName}),
              QStringList{});
}

} // namespace
} // namespace tavrin

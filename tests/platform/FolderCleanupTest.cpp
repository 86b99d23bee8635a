#include "platform/FolderCleanup.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TempDataDir;

void WriteFile(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QStringList EntriesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// A folder outside the one being cleaned, reached only through links: it must survive whole.
void MakeOutside(const QString &outside)
{
    WriteFile(outside + "/keep.txt", "keep");
    WriteFile(outside + "/inner/keep2.txt", "keep");
}

void ExpectOutsideIntact(const QString &outside)
{
    EXPECT_EQ(EntriesIn(outside), QStringList({"inner", "keep.txt"}));
    EXPECT_EQ(EntriesIn(outside + "/inner"), QStringList{"keep2.txt"});
}

// Fills folder with plain files, nested folders, more than a hundred entries and links out.
void FillFolder(const QString &folder, const QString &outside)
{
    for (int i = 0; i < 120; ++i)
        WriteFile(folder + QString("/file%1.jpg").arg(i));
    WriteFile(folder + "/sub/nested/deep.txt");
    WriteFile(folder + "/sub/many/a.txt");
    ASSERT_TRUE(QFile::link(outside, folder + "/folderLink"));
    ASSERT_TRUE(QFile::link(outside + "/keep.txt", folder + "/fileLink"));
    ASSERT_TRUE(QFile::link(folder + "/gone", folder + "/danglingLink"));
}

TEST(EmptyFolder, RemovesEverythingInsideAndNoLinkTarget)
{
    TempDataDir temp;
    const QString outside = temp.file("outside"), folder = temp.file("ZUP1-1");
    MakeOutside(outside);
    FillFolder(folder, outside);

    EXPECT_EQ(EmptyFolder(folder), 124);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(EntriesIn(folder), QStringList{});
    ExpectOutsideIntact(outside);
}

TEST(EmptyFolder, DoesNotEnterAFolderLinkOrAMissingFolder)
{
    TempDataDir temp;
    const QString outside = temp.file("outside");
    MakeOutside(outside);
    ASSERT_TRUE(QFile::link(outside, temp.file("link")));

    EXPECT_EQ(EmptyFolder(temp.file("link")), 0);
    EXPECT_EQ(EmptyFolder(temp.file("missing")), 0);
    ExpectOutsideIntact(outside);
}

TEST(RemoveObsoleteZUPFolders, RemovesOnlyRealZupFoldersOfOtherRuns)
{
    TempDataDir temp;
    const QString data = temp.file("Tessal Design"), outside = temp.file("outside");
    MakeOutside(outside);
    FillFolder(data + "/ZUP1733650000", outside);
    QDir().mkpath(data + "/ZUPx");
    WriteFile(data + "/ZUP999-1/Background.jpg"); // the running instance's own folder
    WriteFile(data + "/Zup1/a.txt");
    WriteFile(data + "/xZUP/a.txt");
    WriteFile(data + "/ZUPfile.txt");
    WriteFile(data + "/RotationData.txt");
    ASSERT_TRUE(QFile::link(outside, data + "/ZUPlink"));
    ScriptedPrompter prompter;

    EXPECT_EQ(RemoveObsoleteZUPFolders(data, prompter, data + "/ZUP999-1"), 2);
    EXPECT_EQ(EntriesIn(data), QStringList({"RotationData.txt", "ZUP999-1", "ZUPfile.txt", "ZUPlink", "Zup1", "xZUP"}));
    EXPECT_EQ(EntriesIn(data + "/ZUP999-1"), QStringList{"Background.jpg"});
    EXPECT_EQ(EntriesIn(data + "/Zup1"), QStringList{"a.txt"});
    ExpectOutsideIntact(outside);
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST(RemoveObsoleteZUPFolders, DataFolderMissingOrALink)
{
    TempDataDir temp;
    ScriptedPrompter prompter;
    EXPECT_EQ(RemoveObsoleteZUPFolders(temp.file("missing"), prompter), 0);
    EXPECT_TRUE(prompter.shown.isEmpty());

    // A data folder that is a link is not entered: the listing fails as a link does.
    const QString real = temp.file("real");
    WriteFile(real + "/ZUP1/a.txt");
    ASSERT_TRUE(QFile::link(real, temp.file("Tessal Design")));
    EXPECT_EQ(RemoveObsoleteZUPFolders(temp.file("Tessal Design"), prompter), 0);
    // Opening a link with O_NOFOLLOW | O_DIRECTORY fails with ENOTDIR, or ELOOP on some systems.
    const auto message = [](int error) {
        return QString::asprintf("Cannot FindFirstFile in RemoveObsoleteZUPFolders error (%d)\n", error);
    };
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0] == message(ENOTDIR) || prompter.shown[0] == message(ELOOP))
        << prompter.shown[0].toStdString();
    EXPECT_EQ(EntriesIn(real + "/ZUP1"), QStringList{"a.txt"});
}

} // namespace
} // namespace tavrin

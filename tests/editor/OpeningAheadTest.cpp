#include "document/OpeningAhead.h"
#include "platform/FolderCleanup.h"
#include "samples/SampleBoards.h"
#include "support/GuiApplication.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

struct OpeningAheadTest : ::testing::Test {
    test::TempDataDir data;
    QString package;

    void SetUp() override
    {
        test::EnsureGuiApplication();
        QString error;
        package = samples::WriteSample(samples::SampleKind::Landscape, data.file("menus"), &error).value(0);
        ASSERT_FALSE(package.isEmpty()) << error.toStdString();
    }
    QStringList workingFolders() const
    {
        return QDir(data.path()).entryList({"ZUP*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    }
};

// What is taken is what the open would have prepared itself, in a folder of its own.
TEST_F(OpeningAheadTest, TheFileItWasPreparedForTakesIt)
{
    PrepareOpeningAhead(package, data.path());
    const std::optional<PreparedOpening> taken = TakeOpeningPreparedAhead(package, data.path());
    ASSERT_TRUE(taken.has_value());
    const PreparedOpening now = PrepareOpening(package, data.path());
    EXPECT_TRUE(taken->failure.isEmpty());
    EXPECT_EQ(taken->contents.documentText, now.contents.documentText);
    EXPECT_EQ(taken->contents.names.layoutName, now.contents.names.layoutName);
    EXPECT_NE(taken->folder, now.folder);
    EXPECT_TRUE(QFile::exists(taken->folder + "/Background.jpg"));
    EXPECT_FALSE(TakeOpeningPreparedAhead(package, data.path()).has_value()) << "taken once";
    RemoveOwnFolder(taken->folder);
    RemoveOwnFolder(now.folder);
    EXPECT_EQ(workingFolders(), QStringList());
}

// An opening nobody takes leaves no folder behind: asked for another file or another parent
// folder, or dropped at the end.
TEST_F(OpeningAheadTest, AnOpeningNotTakenIsDroppedWithItsFolder)
{
    PrepareOpeningAhead(package, data.path());
    EXPECT_FALSE(TakeOpeningPreparedAhead(data.file("menus/Other_LAYOUT.MARBIX"), data.path()).has_value());
    EXPECT_EQ(workingFolders(), QStringList());

    PrepareOpeningAhead(package, data.path());
    EXPECT_FALSE(TakeOpeningPreparedAhead(package, data.file("menus")).has_value());
    EXPECT_EQ(workingFolders(), QStringList());

    PrepareOpeningAhead(package, data.path());
    PrepareOpeningAhead(package, data.path()); // the first one goes
    DropOpeningPreparedAhead();
    EXPECT_EQ(workingFolders(), QStringList());
}

// A file that cannot be opened gives the open's own message; its folder is the caller's to remove.
TEST_F(OpeningAheadTest, AFailureIsTheOpensMessage)
{
    const QString missing = data.file("menus/Missing_LAYOUT.MARBIX");
    PrepareOpeningAhead(missing, data.path());
    const std::optional<PreparedOpening> taken = TakeOpeningPreparedAhead(missing, data.path());
    ASSERT_TRUE(taken.has_value());
    const PreparedOpening now = PrepareOpening(missing, data.path());
    EXPECT_EQ(taken->failure, now.failure);
    EXPECT_TRUE(taken->failure.contains("Unable to open file")) << taken->failure.toStdString();
    RemoveOwnFolder(taken->folder);
    RemoveOwnFolder(now.folder);
    EXPECT_EQ(workingFolders(), QStringList());
}

} // namespace
} // namespace tavrin

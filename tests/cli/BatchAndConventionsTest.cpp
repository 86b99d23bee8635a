// Batches, carried fonts and the conventions of a command-line tool.
#include "support/GuiApplication.h"
#include "support/QtPrinters.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"

#include "layout/LayoutDocument.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "samples/SampleBoards.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

using test::TempDataDir;

using test::CliRun;

class CommandLine : public ::testing::Test {
protected:
    TempDataDir data;
    QString home;

    void SetUp() override
    {
        test::EnsureGuiApplication();
        home = data.file("home");
        QDir().mkpath(home);
    }

    CliRun cli(const QStringList &arguments) { return test::RunCli(arguments, data.path(), home); }

    QString landscape()
    {
        QString error;
        const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, data.file("samples"), &error);
        EXPECT_EQ(written.size(), 2) << error.toStdString();
        return written.value(0);
    }

    // Nothing of a run stays in the data folder but the lock.
    void expectNoWorkingFolderLeft()
    {
        EXPECT_EQ(QDir(data.path()).entryList({"ZUP*"}, QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
};

TEST_F(CommandLine, ABatchWritesTheGoodLayoutsAndNamesTheBadOne)
{
    const QString good = landscape();
    QDir().mkpath(data.file("in"));
    for (const char *name : {"Lunch", "Dinner", "Brunch"})
        ASSERT_TRUE(QFile::copy(good, data.file(QString("in/%1_LAYOUT.MARBIX").arg(name))));
    QFile damaged(data.file("in/Broken_LAYOUT.MARBIX"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(5000, 'x'));
    damaged.close();
    const QStringList layouts = {data.file("in/Lunch_LAYOUT.MARBIX"), data.file("in/Broken_LAYOUT.MARBIX"),
                                 data.file("in/Dinner_LAYOUT.MARBIX"), data.file("in/Brunch_LAYOUT.MARBIX")};

    for (const QString jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs.toStdString());
        const QString out = data.file("tv" + jobs);
        const CliRun render = cli(QStringList{"render"} + layouts + QStringList{"-o", out, "--jobs", jobs});
        EXPECT_EQ(render.exitCode, 1);
        EXPECT_TRUE(render.errors.contains(data.file("in/Broken_LAYOUT.MARBIX"))) << render.errors.toStdString();
        EXPECT_EQ(QDir(out).entryList(QDir::Files), (QStringList{"Brunch_TV.jpg", "Dinner_TV.jpg", "Lunch_TV.jpg"}));
        EXPECT_EQ(QImage(out + "/Dinner_TV.jpg").size(), QSize(1920, 1080));

        const QString saved = data.file("saved" + jobs);
        const CliRun save = cli(QStringList{"save"} + layouts + QStringList{saved, "--jobs", jobs, "--white-print"});
        EXPECT_EQ(save.exitCode, 1);
        EXPECT_TRUE(save.errors.contains(data.file("in/Broken_LAYOUT.MARBIX"))) << save.errors.toStdString();
        EXPECT_EQ(save.output.count('\n'), 6) << save.output.toStdString();
        EXPECT_TRUE(QFile::exists(saved + "/Lunch_LAYOUT_WHITE_PRINT_BGND.MARBIX"));
        EXPECT_TRUE(QFile::exists(saved + "/Brunch_TV_WHITE_PRINT_BGND.jpg"));
        EXPECT_EQ(QDir(saved).entryList(QDir::Files).size(), 6);
    }
    expectNoWorkingFolderLeft();
}

// The first layout is unpacked while the program starts; when that layout cannot be opened,
// it is named, the others are still written, and no working folder stays behind.
TEST_F(CommandLine, AFirstLayoutThatCannotBeOpenedIsNamedAndLeavesNothingBehind)
{
    const QString good = landscape();
    QFile damaged(data.file("Broken_LAYOUT.MARBIX"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(5000, 'x'));
    damaged.close();

    const CliRun batch = cli({"render", damaged.fileName(), good, "-o", data.file("out"), "--jobs", "1"});
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_TRUE(batch.errors.contains(damaged.fileName())) << batch.errors.toStdString();
    EXPECT_EQ(QDir(data.file("out")).entryList(QDir::Files), QStringList{"SampleLandscape_TV.jpg"});

    const CliRun missing = cli({"save", data.file("Missing_LAYOUT.MARBIX"), data.file("saved/Menu")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.errors.contains("Unable to open file")) << missing.errors.toStdString();
    expectNoWorkingFolderLeft();
}

TEST_F(CommandLine, HelpVersionAndUsageErrors)
{
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains("usage: tavrin-cli")) << help.output.toStdString();
    EXPECT_TRUE(help.errors.isEmpty());
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.startsWith("tavrin-cli 3.")) << version.output.toStdString();

    const QString layout = landscape();
    const QStringList usageErrors[] = {
        {},
        {"paint"},
        {"render", layout},
        {"render", layout, "-o", data.file("x.jpg"), "--rotation", "3"},
        {"render", layout, "-o", data.file("x.jpg"), "--jobs", "0"},
        {"save", layout},
        {"save", layout, data.file("sub/")},
        {"document", layout, "--opened", "--working-folder", data.file("w")},
        {"convert"},
    };
    for (const QStringList &arguments : usageErrors) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.errors.count('\n'), 1) << run.errors.toStdString();
        EXPECT_TRUE(run.output.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(data.file("sub"))) << "a save without a base name writes nothing";
}

// A copy of an installed font under a family name no computer has: its "name" table strings
// changed in place, in both their one-byte and their UTF-16 forms.
QByteArray RenamedFont(const QByteArray &font, const QString &from, const QString &to)
{
    QByteArray renamed = font;
    renamed.replace(from.toLatin1(), to.toLatin1());
    QByteArray from16, to16;
    for (QChar c : from)
        from16 += QByteArray(1, '\0') + char(c.unicode());
    for (QChar c : to)
        to16 += QByteArray(1, '\0') + char(c.unicode());
    renamed.replace(from16, to16);
    return renamed;
}

TEST_F(CommandLine, AFontTheComputerLacksIsDrawnFromThePackagesCopy)
{
    QFile installed("/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf");
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    const QByteArray fontBytes = installed.readAll();
    const QString face = "Tavrin Menu Face"; // as long as "Liberation Serif"

    // The same board three times: the installed face; the unknown face with its file carried;
    // the unknown face without it.
    const auto package = [&](const QString &name, const QString &font, bool carried) {
        const QString work = data.file("build-" + name);
        QDir().mkpath(work);
        auto layout = std::make_unique<MenuLayout>();
        samples::BuildSample(samples::SampleKind::Landscape, work, *layout);
        layout->forEachBoardStrip([&](int, int, Strip &strip) {
            // Regular text only: the package carries the regular face alone.
            strip.CaloriesItalics = 0;
            for (TextGroup &group : strip.Groups) {
                group.Font = font;
                group.Bold = 0;
                group.Italics = 0;
            }
        });
        FontList fontList;
        if (carried) {
            QFile file(work + "/TavrinMenuFace.ttf");
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(RenamedFont(fontBytes, "Liberation Serif", face));
            fontList.add(face, work + "/TavrinMenuFace.ttf");
        }
        QDir().mkpath(data.file("layouts"));
        const QString path = data.file("layouts/" + name + "_LAYOUT.MARBIX");
        test::ScriptedPrompter quiet;
        EXPECT_TRUE(WriteLayoutPackage(path, {*layout, true, work + "/Background.jpg", fontList, work}, quiet));
        return path;
    };
    const QString withInstalled = package("Installed", "Liberation Serif", false);
    const QString withCarried = package("Carried", face, true);
    const QString withNeither = package("Neither", face, false);

    const CliRun installedRun = cli({"render", withInstalled, "-o", data.file("installed.jpg")});
    ASSERT_EQ(installedRun.exitCode, 0) << installedRun.errors.toStdString();
    const CliRun carriedRun = cli({"render", withCarried, "-o", data.file("carried.jpg")});
    ASSERT_EQ(carriedRun.exitCode, 0) << carriedRun.errors.toStdString();
    EXPECT_FALSE(carriedRun.errors.contains(face)) << carriedRun.errors.toStdString();
    const CliRun neitherRun = cli({"render", withNeither, "-o", data.file("neither.jpg")});
    ASSERT_EQ(neitherRun.exitCode, 0) << neitherRun.errors.toStdString();
    EXPECT_TRUE(neitherRun.errors.contains("warning") && neitherRun.errors.contains(face))
        << neitherRun.errors.toStdString();

    const QImage installedImage(data.file("installed.jpg")), carriedImage(data.file("carried.jpg")),
        neitherImage(data.file("neither.jpg"));
    ASSERT_FALSE(carriedImage.isNull());
    EXPECT_TRUE(carriedImage == installedImage) << "the carried copy draws as the installed font";
    EXPECT_FALSE(neitherImage == installedImage) << "without the file a stand-in draws";

    // A save keeps carrying the font; nothing was installed for the user.
    const CliRun save = cli({"save", withCarried, data.file("out/Again")});
    ASSERT_EQ(save.exitCode, 0) << save.errors.toStdString();
    const QString again = data.file("again");
    QDir().mkpath(again);
    ASSERT_TRUE(UnpackLayoutPackage(data.file("out/Again_LAYOUT.MARBIX"), again).complete());
    EXPECT_TRUE(QFile::exists(again + "/TavrinMenuFace.ttf"));
    EXPECT_FALSE(QFileInfo::exists(home + "/.local/share/fonts"));
    EXPECT_FALSE(QFileInfo::exists(home + "/.fonts"));
    expectNoWorkingFolderLeft();
}

// A legacy layout (plain document and support folder) becomes one package without a dialog,
// and the package opens to the same board.
TEST_F(CommandLine, ConvertReplacesALegacyLayoutByOnePackage)
{
    const QString menus = data.file("menus");
    QDir().mkpath(menus + "/Lunch_SupportFiles");
    QImage background(640, 360, QImage::Format_RGB32);
    background.fill(QColor(40, 20, 20));
    ASSERT_TRUE(background.save(menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"));
    auto layout = std::make_unique<MenuLayout>();
    Strip working;
    ResetAllStrips(*layout, working, kWhite);
    layout->strip(0, 0).mainItem().Text = "Fish & Chips";
    layout->strip(0, 0).mainItem().Font = "DejaVu Sans";
    QString document = BuildLayoutDocument(*layout, "x");
    document.replace("<BackgroundFileName>x</BackgroundFileName>",
                     "<BackgroundFileName>C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg</BackgroundFileName>");
    const QString legacy = menus + "/MarbixLayout_Lunch.XMARBIX";
    QFile file(legacy);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char *>(document.utf16()), document.size() * 2);
    file.close();

    const CliRun run = cli({"convert", legacy});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QString package = run.output.trimmed();
    EXPECT_TRUE(QFileInfo(package).isFile()) << run.output.toStdString();
    EXPECT_EQ(QFileInfo(package).path(), menus);
    EXPECT_FALSE(QFile::exists(legacy));
    EXPECT_TRUE(cli({"document", package}).output.contains("Fish &"));

    // A package is not a legacy layout: nothing to convert.
    EXPECT_EQ(cli({"convert", package}).exitCode, 1);
    expectNoWorkingFolderLeft();
}

} // namespace
} // namespace tavrin

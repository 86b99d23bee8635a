#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/CliProcess.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::CliRun;

CliRun Cli(const QStringList &arguments)
{
    // A data folder of the tests' own: the rotation the editor remembers starts unset.
    static QTemporaryDir dataFolder;
    return test::RunCli(arguments, dataFolder.path());
}

class SaveCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        ASSERT_EQ(Cli({"samples", folder->filePath("samples")}).exitCode, 0);
    }
    static void TearDownTestSuite() { delete folder; }
    static QString file(const QString &name) { return folder->filePath(name); }
    static QTemporaryDir *folder;
};
QTemporaryDir *SaveCommand::folder = nullptr;

TEST_F(SaveCommand, WritesThePackageAndTheTvImageUnderTheEditorsNames)
{
    const struct {
        QString sample;
        QStringList options;
        QString package, tvImage;
        QSize size;
    } cases[] = {
        {"SampleLandscape", {}, "Menu2_LAYOUT.MARBIX", "Menu2_TV.jpg", QSize(1920, 1080)},
        {"SampleLandscape", {"--white-print"}, "Menu2_LAYOUT_WHITE_PRINT_BGND.MARBIX",
         "Menu2_TV_WHITE_PRINT_BGND.jpg", QSize(1920, 1080)},
        {"SamplePortrait", {"--rotation", "1"}, "Tall_LAYOUT.MARBIX", "Tall_TV.jpg", QSize(1920, 1080)},
        {"SamplePortrait", {}, "Upright_LAYOUT.MARBIX", "Upright_TV.jpg", QSize(1080, 1920)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.package.toStdString());
        const QString base = c.package.left(c.package.indexOf('_'));
        const CliRun run = Cli(QStringList{"save", file("samples/" + c.sample + "_LAYOUT.MARBIX"), file("out/" + base)}
                               + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_EQ(run.output, file("out/" + c.package) + "\n" + file("out/" + c.tvImage) + "\n");
        EXPECT_EQ(QImage(file("out/" + c.tvImage)).size(), c.size);
    }

    // The saved package opens to the same document as the one it was saved from did (each
    // opened in a working folder of its own; the pictures' paths agree once those are set aside).
    const auto opened = [](const QString &package) {
        const CliRun run = Cli({"document", package, "--opened"});
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        return QString(run.output).replace(QRegularExpression("/ZUP[^/]*/"), "/ZUP/");
    };
    const QString original = opened(file("samples/SampleLandscape_LAYOUT.MARBIX"));
    EXPECT_TRUE(original.contains("Classic Burger"));
    EXPECT_TRUE(opened(file("out/Menu2_LAYOUT.MARBIX")) == original) << "the saved package reads back to another document";
}

TEST_F(SaveCommand, RefusesBadArgumentsAndReportsAFailedSave)
{
    EXPECT_EQ(Cli({"save", file("samples/SampleLandscape_LAYOUT.MARBIX")}).exitCode, 2);
    EXPECT_EQ(Cli({"save", file("samples/SampleLandscape_LAYOUT.MARBIX"), file("x"), "--rotation", "3"}).exitCode, 2);

    QFile blocker(file("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliRun run = Cli({"save", file("samples/SampleLandscape_LAYOUT.MARBIX"), file("blocker/Menu")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("UNABLE TO SAVE FILE.")) << run.errors.toStdString();
}

} // namespace
} // namespace tavrin

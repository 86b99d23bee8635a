#include "support/QtPrinters.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

int RunCli(const QStringList &arguments, QString *errors = nullptr)
{
    // A data folder of the tests' own: the rotation the editor remembers starts unset.
    static QTemporaryDir dataFolder;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TAVRIN_DATA_DIR", dataFolder.path());
    process.setProcessEnvironment(environment);
    process.start(TAVRIN_CLI_PATH, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}

// The sample boards, written once for all tests of this file.
class RenderCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        ASSERT_EQ(RunCli({"samples", folder->path()}), 0);
    }
    static void TearDownTestSuite() { delete folder; }
    static QString file(const QString &name) { return folder->filePath(name); }
    static QTemporaryDir *folder;
};
QTemporaryDir *RenderCommand::folder = nullptr;

TEST_F(RenderCommand, WritesTheBoardAtTheBackgroundsResolution)
{
    const QString out = file("landscape.jpg");
    QString errors;
    ASSERT_EQ(RunCli({"render", file("SampleLandscape_LAYOUT.MARBIX"), "-o", out}, &errors), 0) << errors.toStdString();
    const QImage image(out);
    EXPECT_EQ(image.size(), QSize(1920, 1080));
    // The same as the TV image the sample writer saved through the same code.
    const QImage saved(file("SampleLandscape_TV.jpg"));
    ASSERT_EQ(saved.size(), image.size());
    EXPECT_LE(std::abs(qGray(saved.pixel(300, 100)) - qGray(image.pixel(300, 100))), 8);
}

TEST_F(RenderCommand, WhitePrintAndRotation)
{
    const struct {
        QString layout;
        QStringList options;
        QSize size;
    } cases[] = {
        {"SamplePortrait_LAYOUT.MARBIX", {}, QSize(1080, 1920)},
        {"SamplePortrait_LAYOUT.MARBIX", {"--rotation", "1"}, QSize(1920, 1080)},
        {"SamplePortrait_LAYOUT.MARBIX", {"--rotation", "2"}, QSize(1920, 1080)},
        // A landscape board is never turned.
        {"SampleLandscape_LAYOUT.MARBIX", {"--rotation", "1"}, QSize(1920, 1080)},
        {"SampleLandscape_LAYOUT.MARBIX", {"--white-print"}, QSize(1920, 1080)},
    };
    for (const auto &c : cases) {
        const QString out = file("out.jpg");
        ASSERT_EQ(RunCli(QStringList{"render", file(c.layout), "-o", out} + c.options), 0);
        const QImage image(out);
        EXPECT_EQ(image.size(), c.size) << c.options.join(' ').toStdString();
        if (c.options.contains("--white-print")) {
            EXPECT_GT(qGray(image.pixel(5, 1075)), 245) << "white where the background was";
        }
    }
    // Clockwise: the board's top row becomes the right-hand column.
    const QImage upright(file("SamplePortrait_TV.jpg"));
    ASSERT_EQ(RunCli({"render", file("SamplePortrait_LAYOUT.MARBIX"), "-o", file("cw.jpg"), "--rotation", "1"}), 0);
    const QImage turned(file("cw.jpg"));
    EXPECT_LE(std::abs(qGray(upright.pixel(500, 30)) - qGray(turned.pixel(1919 - 30, 500))), 10);
}

TEST_F(RenderCommand, BadArgumentsAndFilesFail)
{
    EXPECT_EQ(RunCli({"render", file("SampleLandscape_LAYOUT.MARBIX")}), 2);
    EXPECT_EQ(RunCli({"render", file("SampleLandscape_LAYOUT.MARBIX"), "-o", file("x.jpg"), "--rotation", "3"}), 2);
    QString errors;
    EXPECT_EQ(RunCli({"render", file("Missing_LAYOUT.MARBIX"), "-o", file("x.jpg")}, &errors), 1);
    EXPECT_TRUE(errors.contains("Unable to open file"));
    EXPECT_EQ(RunCli({"render", file("SampleLandscape_LAYOUT.MARBIX"), "-o", file("no-folder/x.jpg")}), 1);
}

} // namespace
} // namespace tavrin

// A second computer in miniature: the command line run under a font configuration whose only
// font is DejaVu Sans (regular), with fontconfig's caches in a folder of the test's own. A board
// made on this machine must look the same there, drawn from the font files its package carries,
// and a save made there must keep every one of them.
#include "cli/CliProcess.h"

#include "fonts/FontMatching.h"
#include "images/TvImageOutput.h"
#include "layout/FontList.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "platform/HeadlessGui.h"
#include "platform/SilentPrompter.h"
#include "render/BoardRenderer.h"
#include "samples/SampleBoards.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace tavrin {
namespace {

// The share of pixels whose red, green or blue differ by more than 8 %.
double DifferingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    const int limit = int(0.08 * 255);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (std::abs(qRed(p[col]) - qRed(q[col])) > limit || std::abs(qGreen(p[col]) - qGreen(q[col])) > limit
                || std::abs(qBlue(p[col]) - qBlue(q[col])) > limit)
                ++differing;
        }
    }
    return double(differing) / (double(x.width()) * x.height());
}

QStringList PackageMembers(const QString &package)
{
    QProcess unzip;
    unzip.start("unzip", {"-Z1", package});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return {};
    return QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QString PackageMember(const QString &package, const QString &member)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", package, member});
    if (!unzip.waitForFinished(30000))
        return {};
    const QByteArray bytes = unzip.readAllStandardOutput();
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
}

QStringList FontMembers(const QString &package)
{
    QStringList fonts;
    for (const QString &member : PackageMembers(package)) {
        const QString lower = member.toLower();
        if (lower.endsWith(".ttf") || lower.endsWith(".otf") || lower.endsWith(".ttc"))
            fonts << member;
    }
    fonts.sort();
    return fonts;
}

const QString kLatinFace = "Liberation Sans";

// A board with every style of a Latin face and texts in Arabic, Hebrew, Devanagari and CJK
// in it, saved as a package the way the samples are (the output render gathers the fonts).
QString WriteMultiScriptBoard(const QString &folder)
{
    QTemporaryDir working;
    auto layout = std::make_unique<MenuLayout>();
    auto geometry = std::make_unique<GeometryRecords>();
    samples::BuildSample(samples::SampleKind::Landscape, working.path(), *layout);
    Strip blank;
    ResetAllStrips(*layout, blank, kWhite);
    const struct {
        const char *main;
        const char *sub;
        const char *prices;
        bool bold, italic;
    } items[] = {
        {"Grilled Salmon", "with lemon and dill", "12.50>480", true, false},
        {"Garden Soup", "of the day", "4.50>120", false, true},
        {"Chef's Special", "ask your server", "15.00>700", true, true},
        {"شاورما دجاج", "פלאפל בפיתה", "9.00", false, false},
        {"पनीर टिक्का", "寿司 ラーメン", "11.00", false, false},
    };
    int row = 1;
    for (const auto &item : items) {
        Strip &strip = layout->strip(0, row++);
        const char *texts[] = {item.main, item.sub, item.prices};
        for (int g = 0; g < kGroupCount; ++g) {
            TextGroup &group = strip.Groups[g];
            group.Text = QString::fromUtf8(texts[g]);
            group.Font = kLatinFace;
            group.Bold = item.bold;
            group.Italics = item.italic;
            group.ScaleFactor = g == MainItemGroup ? 0.55 : 0.35;
            group.Xref = g == PricesGroup ? 0.95 : 0.05;
            group.Yref = g == SubItemsGroup ? 0.55 : 0.05;
            group.GroupAlignment = g == PricesGroup ? int(GroupAlignment::Right) : 0;
            group.TextColor = kWhite;
            group.DropShadowColor = kBlack;
        }
        strip.CaloriesItalics = 1;
    }

    FontList fontList;
    BoardRenderer renderer(*layout, *geometry);
    renderer.sources.backgroundName = "Background.jpg";
    renderer.sources.backgroundImagePath = working.path() + "/Background.jpg";
    renderer.sources.workingFolder = working.path();
    renderer.fontList = &fontList;
    if (renderer.renderForOutput(QRect(0, 0, 1 << 20, 1 << 20), false).isNull())
        return {};
    const QString package = folder + "/MultiScript_LAYOUT.MARBIX";
    SilentPrompter prompter;
    if (!WriteLayoutPackage(package, {*layout, true, renderer.sources.backgroundImagePath, fontList, working.path()},
                            prompter))
        return {};
    return package;
}

class SecondComputer : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        ASSERT_TRUE(root.isValid());
        const QDir dir(root.path());
        ASSERT_TRUE(dir.mkpath("fonts") && dir.mkpath("cache") && dir.mkpath("home") && dir.mkpath("data")
                    && dir.mkpath("out"));
        const QString dejaVu = FindFontFile("DejaVu Sans");
        ASSERT_FALSE(dejaVu.isEmpty()) << "DejaVu Sans is not installed";
        ASSERT_TRUE(QFile::copy(dejaVu, dir.filePath("fonts/DejaVuSans.ttf")));
        QFile config(dir.filePath("fonts.conf"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                                    "<fontconfig>\n  <dir>%1</dir>\n  <cachedir>%2</cachedir>\n</fontconfig>\n")
                         .arg(dir.filePath("fonts"), dir.filePath("cache"))
                         .toUtf8());
    }

    // The command line on this machine, or on the one that has only DejaVu Sans.
    test::CliRun run(const QStringList &arguments, bool secondComputer)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TAVRIN_DATA_DIR", root.filePath("data"));
        if (secondComputer) {
            environment.insert("FONTCONFIG_FILE", root.filePath("fonts.conf"));
            environment.remove("FONTCONFIG_PATH");
            environment.insert("HOME", root.filePath("home"));
            environment.insert("XDG_CACHE_HOME", root.filePath("cache"));
            environment.remove("XDG_DATA_HOME");
        }
        process.setProcessEnvironment(environment);
        process.start(TAVRIN_CLI_PATH, arguments);
        test::CliRun result;
        if (!process.waitForFinished(180000))
            return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.output = QString::fromUtf8(process.readAllStandardOutput());
        result.errors = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // The board rendered on both computers: the share of pixels that differ.
    double renderBoth(const QString &package, QString *secondErrors = nullptr)
    {
        const QString here = root.filePath("out/here.jpg");
        const QString there = root.filePath("out/there.jpg");
        QFile::remove(here);
        QFile::remove(there);
        const test::CliRun first = run({"render", package, "-o", here}, false);
        const test::CliRun second = run({"render", package, "-o", there}, true);
        EXPECT_EQ(first.exitCode, 0) << first.errors.toStdString();
        // Here, with every font installed, nothing is drawn differently from the layout.
        EXPECT_FALSE(first.errors.contains("warning")) << first.errors.toStdString();
        EXPECT_EQ(second.exitCode, 0) << second.errors.toStdString();
        if (secondErrors)
            *secondErrors = second.errors;
        return DifferingShare(QImage(here), QImage(there));
    }

    QTemporaryDir root;
};

TEST_F(SecondComputer, TheSamplesLookTheSame)
{
    for (const char *name : {"SampleLandscape", "SamplePortrait", "SampleUltraHd"}) {
        SCOPED_TRACE(name);
        const QString package = QStringLiteral(TAVRIN_EXAMPLES_DIR "/%1_LAYOUT.MARBIX").arg(name);
        ASSERT_TRUE(QFileInfo::exists(package));
        QString errors;
        EXPECT_LE(renderBoth(package, &errors), 0.001);
        EXPECT_FALSE(errors.contains("warning")) << errors.toStdString();
    }
}

TEST_F(SecondComputer, AMultiScriptBoardLooksTheSameAndItsSaveKeepsEveryFont)
{
    const QString package = WriteMultiScriptBoard(root.filePath("out"));
    ASSERT_FALSE(package.isEmpty());
    const QStringList carried = FontMembers(package);
    QString errors;
    EXPECT_LE(renderBoth(package, &errors), 0.001);
    // Every character has its font there too: nothing is made up or drawn as a box.
    EXPECT_FALSE(errors.contains("warning")) << errors.toStdString();

    // Saved there, the package still carries every font it came with.
    const test::CliRun saved = run({"save", package, root.filePath("out/Again")}, true);
    ASSERT_EQ(saved.exitCode, 0) << saved.errors.toStdString();
    const QString again = root.filePath("out/Again_LAYOUT.MARBIX");
    EXPECT_EQ(FontMembers(again), carried);
    EXPECT_EQ(ReadFontListText(PackageMember(again, "FontFileNames.txt")).size(),
              ReadFontListText(PackageMember(package, "FontFileNames.txt")).size());
    EXPECT_LE(renderBoth(again), 0.001);
}

// The save of a board with bold, italic and a Devanagari item packs the file of every style
// drawn and the fallback face, each once, and lists each with its face.
TEST_F(SecondComputer, TheSavedPackageCarriesEveryFileDrawn)
{
    const QString package = WriteMultiScriptBoard(root.filePath("out"));
    ASSERT_FALSE(package.isEmpty());
    const test::CliRun saved = run({"save", package, root.filePath("out/Saved")}, false);
    ASSERT_EQ(saved.exitCode, 0) << saved.errors.toStdString();
    const QString again = root.filePath("out/Saved_LAYOUT.MARBIX");

    QStringList expected;
    const auto expect = [&expected](const QString &file) {
        const QString name = QFileInfo(file).fileName();
        if (!name.isEmpty() && !expected.contains(name))
            expected << name;
    };
    for (const bool bold : {false, true})
        for (const bool italic : {false, true})
            expect(FindFontFile(kLatinFace, bold, italic));
    const QString devanagari = FindFontFile("Lohit Devanagari");
    if (devanagari.isEmpty())
        GTEST_SKIP() << "no Devanagari font is installed (scripts/setup.sh installs fonts-lohit-deva)";
    expect(devanagari);
    const QStringList members = FontMembers(again);
    for (const QString &file : std::as_const(expected))
        EXPECT_EQ(members.count(file), 1) << file.toStdString();
    EXPECT_EQ(QStringList(members).removeDuplicates(), 0);

    const std::vector<GatheredFont> listed = ReadFontListText(PackageMember(again, "FontFileNames.txt"));
    const auto listedAs = [&listed](const QString &face, const QString &file) {
        return std::count(listed.begin(), listed.end(), GatheredFont{face, file});
    };
    for (const bool bold : {false, true})
        for (const bool italic : {false, true})
            EXPECT_EQ(listedAs(kLatinFace, QFileInfo(FindFontFile(kLatinFace, bold, italic)).fileName()), 1)
                << bold << italic;
    EXPECT_EQ(listedAs("Lohit Devanagari", QFileInfo(devanagari).fileName()), 1);
    // Every packed font file is listed.
    for (const QString &member : members)
        EXPECT_TRUE(std::any_of(listed.begin(), listed.end(), [&](const GatheredFont &f) { return f.fontFile == member; }))
            << member.toStdString();
}

// A style that exists nowhere, installed or carried, is made up, and the render says so.
TEST_F(SecondComputer, AStyleThatExistsNowhereIsMadeUpAndNamed)
{
    // The old sample carries DejaVu Sans's regular file only; there, nothing has its oblique.
    QTemporaryDir working;
    auto layout = std::make_unique<MenuLayout>();
    samples::BuildSample(samples::SampleKind::Landscape, working.path(), *layout);
    Strip blank;
    ResetAllStrips(*layout, blank, kWhite);
    TextGroup &sub = layout->strip(0, 2).subItems();
    sub.Text = "slanted";
    sub.Font = "DejaVu Sans";
    sub.Italics = 1;
    sub.ScaleFactor = 0.5;
    layout->strip(0, 2).mainItem().Text = "Soup";
    layout->strip(0, 2).mainItem().Font = "DejaVu Sans";
    FontList onlyRegular;
    onlyRegular.add("DejaVu Sans", FindFontFile("DejaVu Sans"));
    const QString package = root.filePath("out/Slanted_LAYOUT.MARBIX");
    SilentPrompter prompter;
    ASSERT_TRUE(WriteLayoutPackage(package, {*layout, true, working.path() + "/Background.jpg", onlyRegular,
                                             working.path()},
                                   prompter));
    const test::CliRun rendered = run({"render", package, "-o", root.filePath("out/slanted.jpg")}, true);
    ASSERT_EQ(rendered.exitCode, 0) << rendered.errors.toStdString();
    EXPECT_TRUE(rendered.errors.contains("warning: column 1, row 3 \"Soup\": the font \"DejaVu Sans\" has no italic "
                                         "face here or in the package; italic made from its regular face"))
        << rendered.errors.toStdString();
    const test::CliRun checked = run({"check", package}, true);
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_TRUE(checked.output.contains("sub-items text: the font \"DejaVu Sans\" has no italic face"))
        << checked.output.toStdString();
}

} // namespace
} // namespace tavrin

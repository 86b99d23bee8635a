#include "layout/LayoutDocument.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"
#include "support/TreeSnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TempDataDir;

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult RunCli(const QStringList &arguments, const QString &currentFolder = {})
{
    QProcess process;
    if (!currentFolder.isEmpty())
        process.setWorkingDirectory(currentFolder);
    process.start(TAVRIN_CLI_PATH, arguments);
    CliResult result;
    if (!process.waitForFinished(30000))
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf('/')));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray PlainUtf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// A small board with a bit of everything: colours, a picture, three text groups.
std::unique_ptr<MenuLayout> SampleLayout(const QString &picturePath)
{
    auto layout = std::make_unique<MenuLayout>();
    Strip working;
    ResetAllStrips(*layout, working, kWhite);
    layout->NumberOfColumns = 2;
    layout->NumberOfRows = 3;
    Strip &burger = layout->strip(0, 1);
    burger.BackGroundColor = MakeColour(10, 20, 30);
    burger.mainItem().Text = "Burger & <Fries>";
    burger.mainItem().Font = "DejaVu Sans";
    burger.mainItem().DropShadowColor = kBlack;
    burger.subItems().Text = "Lettuce\r\nTomato";
    burger.prices().Text = "5.99>450^7.49>600";
    burger.Picture.SubImageFileName = picturePath;
    burger.Picture.SubImageFrameIndex = 2;
    burger.Picture.SubImageCropPercentageX = 60;
    burger.Picture.SubImageCropPercentageY = 100;
    burger.XSizeFactor = 2.0;
    layout->strip(1, 2).mainItem().Text = "Drinks";
    return layout;
}

TEST(DocumentCommand, PackageStoredAndPlainDocumentsPrintTheSameLayout)
{
    TempDataDir temp;
    const QString sourceFolder = temp.file("source");
    QDir().mkpath(sourceFolder);
    WriteBytes(sourceFolder + "/Background.jpg", "not really a jpeg");
    WriteBytes(sourceFolder + "/fish.jpg", "picture");
    auto layout = SampleLayout(sourceFolder + "/fish.jpg");

    ScriptedPrompter prompter;
    const QString package = temp.file("menus/Lunch_LAYOUT.MARBIX");
    QDir().mkpath(temp.file("menus"));
    ASSERT_TRUE(WriteLayoutPackage(package, {*layout, true, sourceFolder + "/Background.jpg", {}, sourceFolder},
                                   prompter));

    // What the program writes after opening: pictures point into the working folder.
    const QString workingFolder = temp.file("work");
    auto expectedLayout = SampleLayout(workingFolder + "/fish.jpg");
    const QString expected = BuildLayoutDocument(*expectedLayout, "Background.jpg") + "\n";

    const CliResult fromPackage = RunCli({"document", package, "--working-folder", workingFolder});
    ASSERT_EQ(fromPackage.exitCode, 0) << fromPackage.err.toStdString();
    EXPECT_EQ(fromPackage.out, expected);

    // The same document stored as a TV image's package is found through the TV image's name.
    WriteBytes(temp.file("menus/Lunch_TV.jpg"), "tv");
    const QString secondFolder = temp.file("work2");
    const CliResult fromTvImage = RunCli({"document", temp.file("menus/Lunch_TV.jpg"), "--working-folder", secondFolder});
    EXPECT_EQ(fromTvImage.out,
              BuildLayoutDocument(*SampleLayout(secondFolder + "/fish.jpg"), "Background.jpg") + "\n");
}

// The tool never empties a folder it did not make: a working folder that holds anything is
// refused and left exactly as it was, even when it is the folder of the layout being read.
TEST(DocumentCommand, AWorkingFolderThatHoldsAnythingIsRefusedAndLeftAsItWas)
{
    TempDataDir temp;
    const QString menus = temp.file("menus");
    WriteBytes(menus + "/Background.jpg", "background");
    auto layout = SampleLayout(QString());
    ScriptedPrompter prompter;
    const QString package = menus + "/Lunch_LAYOUT.MARBIX";
    ASSERT_TRUE(WriteLayoutPackage(package, {*layout, true, menus + "/Background.jpg", {}, menus}, prompter));
    WriteBytes(menus + "/notes.txt", "mine");
    WriteBytes(menus + "/old/Dinner_LAYOUT.MARBIX", "another layout");
    // The instance lock that every run holds in the data folder.
    WriteBytes(temp.file("tavrin-instance.lock"), "");

    const struct {
        QString folderArgument;
        QString currentFolder;
    } cases[] = {
        {menus, {}},
        {".", menus},
        {menus + "/notes.txt", {}},
    };
    for (const auto &c : cases) {
        const test::TreeSnapshot before = test::TreeSnapshot::take(temp.path());
        const CliResult result = RunCli({"document", package, "--working-folder", c.folderArgument}, c.currentFolder);
        EXPECT_EQ(result.exitCode, 1) << c.folderArgument.toStdString();
        EXPECT_TRUE(result.err.contains("The working folder must be new or empty")) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(before.differences(test::TreeSnapshot::take(temp.path())), QStringList())
            << c.folderArgument.toStdString();
    }

    // A failed open into a folder the tool made takes that folder away again.
    const CliResult failed = RunCli({"document", menus + "/notes_LAYOUT.MARBIX", "--working-folder", temp.file("new")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(temp.file("new")));
}

// A layout of an earlier version: a plain document beside its support folder, written on
// another computer, with the old single crop element.
TEST(DocumentCommand, LegacyLayoutFindsItsSupportFolderWhereverItWasMoved)
{
    TempDataDir temp;
    const QString menus = temp.file("menus");
    const QString document =
        R"(<?xml version="1.0" encoding="UTF-16" standalone="yes"?><MenuData><ApplicationData>)"
        R"(<NameAndVersion>Marbix Version 2.1.0.0</NameAndVersion></ApplicationData><MenuGeneralData>)"
        R"(<BackgroundFileName>C:\Old\Lunch_SupportFiles\Lunch-MARBIXBGD.jpg</BackgroundFileName>)"
        R"(<NumberOfColumns>1</NumberOfColumns><NumberOfRows>2</NumberOfRows>)"
        R"(<WhitePrintBackground>No</WhitePrintBackground></MenuGeneralData><StripsData><Strip0-0>)"
        R"(<BackGroundColor>0,0,1</BackGroundColor><SubImageFileName>C:\Old\Lunch_SupportFiles\fish.jpg)"
        R"(</SubImageFileName><SubImageCropPercentage>50</SubImageCropPercentage><XSizeFactor>1.000</XSizeFactor>)"
        R"(<YSizeFactor>1.000</YSizeFactor><MainItemTextParams><Text>Fish</Text><TextColor>255,255,255</TextColor>)"
        R"(<DropShadowColor>0,0,0</DropShadowColor><Font>Arial</Font><Xref>0.100</Xref><Yref>0.200</Yref>)"
        R"(<ScaleFactor>1.000</ScaleFactor><Bold>Yes</Bold></MainItemTextParams></Strip0-0><Strip0-1></Strip0-1>)"
        R"(</StripsData></MenuData>)";
    WriteBytes(menus + "/MarbixLayout_Lunch.XMARBIX", PlainUtf16(document));

    auto expected = std::make_unique<MenuLayout>();
    Strip working;
    ResetAllStrips(*expected, working, kWhite);
    expected->NumberOfColumns = 1;
    expected->NumberOfRows = 2;
    Strip &fish = expected->strip(0, 0);
    fish.Picture.SubImageFileName = menus + "/Lunch_SupportFiles/fish.jpg";
    fish.Picture.SubImageCropPercentageX = 50;
    fish.Picture.SubImageCropPercentageY = 50;
    fish.mainItem().Text = "Fish";
    fish.mainItem().DropShadowColor = kBlack;
    fish.mainItem().Xref = 0.1;
    fish.mainItem().Yref = 0.2;
    fish.mainItem().Bold = 1;
    fish.CaloriesTextColor = kWhite; // no element of its own: the prices text colour
    fish.XOffsetFactor = 0.0;
    fish.YOffsetFactor = 0.0;

    const CliResult result = RunCli({"document", menus + "/MarbixLayout_Lunch.XMARBIX"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              BuildLayoutDocument(*expected, menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg") + "\n");
}

TEST(DocumentCommand, FailuresSayWhichFileCouldNotBeOpened)
{
    TempDataDir temp;
    const QString menus = temp.file("menus");
    QDir().mkpath(menus);
    // A document whose grid is larger than the store: refused rather than cut on the next save.
    const QString tooWide = "<MenuData><MenuGeneralData><NumberOfColumns>10</NumberOfColumns>"
                            "<NumberOfRows>3</NumberOfRows></MenuGeneralData></MenuData>";
    WriteBytes(menus + "/MarbixLayout_Wide.XMARBIX", PlainUtf16(ScrambleText(tooWide)));

    const struct {
        QString path;
        QString named;
    } cases[] = {
        {menus + "/Lunch_TV.jpg", menus + "/Lunch_LAYOUT.MARBIX"}, // TV image without its package
        {menus + "/Missing_LAYOUT.MARBIX", menus + "/Missing_LAYOUT.MARBIX"}, // nothing to unpack
        {menus + "/MarbixLayout_Gone.XMARBIX", menus + "/MarbixLayout_Gone.XMARBIX"},
        {menus + "/MarbixLayout_Wide.XMARBIX", menus + "/MarbixLayout_Wide.XMARBIX"},
    };
    for (const auto &c : cases) {
        const CliResult result = RunCli({"document", c.path});
        EXPECT_EQ(result.exitCode, 1) << c.path.toStdString();
        EXPECT_TRUE(result.err.contains("Unable to open file\n\n")) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(c.named + "\n\n")) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("\n\nPress OK to continue.")) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}

} // namespace
} // namespace tavrin

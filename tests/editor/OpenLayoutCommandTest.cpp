#include "editor/Editor.h"
#include "editor/WindowTitle.h"
#include "layout/LayoutDocument.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "samples/SampleBoards.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TableControls;
using test::TempDataDir;

void WriteUtf16(const QString &path, const QString &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

struct OpenFixture : ::testing::Test {
    TempDataDir data;
    TableControls controls;
    ScriptedPrompter prompter;
    std::unique_ptr<Editor> editor;
    QString menus;

    void SetUp() override
    {
        test::EnsureGuiApplication();
        editor = std::make_unique<Editor>(controls, prompter);
        editor->Initialise(1733650000, 1, nullptr);
        menus = data.file("menus");
        QDir().mkpath(menus);
    }
    QString samplePackage()
    {
        QString error;
        const QStringList written = samples::WriteSample(samples::SampleKind::Landscape, menus, &error);
        EXPECT_EQ(written.size(), 2) << error.toStdString();
        return written.value(0);
    }
    // A layout of an earlier version: plain document and a support folder with the background
    // and one picture, as another computer wrote it.
    QString legacyLayout()
    {
        QDir().mkpath(menus + "/Lunch_SupportFiles");
        QImage background(640, 360, QImage::Format_RGB32);
        background.fill(QColor(40, 20, 20));
        background.save(menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg");
        background.fill(QColor(200, 200, 0));
        background.save(menus + "/Lunch_SupportFiles/fish.jpg");
        auto layout = std::make_unique<MenuLayout>();
        Strip working;
        ResetAllStrips(*layout, working, kWhite);
        layout->strip(0, 0).mainItem().Text = "Fish & Chips";
        layout->strip(0, 0).mainItem().Font = "DejaVu Sans";
        layout->strip(1, 3).Picture.SubImageFileName = "C:\\Old\\Lunch_SupportFiles\\fish.jpg";
        layout->strip(1, 3).Picture.SubImageCropPercentageX = 100;
        layout->strip(1, 3).Picture.SubImageCropPercentageY = 100;
        QString document = BuildLayoutDocument(*layout, "C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg");
        const QString path = menus + "/MarbixLayout_Lunch.XMARBIX";
        WriteUtf16(path, document);
        return path;
    }
    void open(const QString &path)
    {
        prompter.fileNames = {path};
        editor->OpenLayoutCommand();
    }
};

TEST_F(OpenFixture, APackageOpensIntoTheWorkingFolderAndShowsItsBoard)
{
    const QString package = samplePackage();
    open(package);
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join("|").toStdString();
    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open MarbixLayout File"});
    EXPECT_TRUE(editor->fromPackage);
    EXPECT_EQ(editor->backgroundName, "Background.jpg");
    EXPECT_EQ(editor->backgroundImagePath, editor->paths.workingFolder + "/Background.jpg");
    EXPECT_EQ(editor->layoutName, "SampleLandscape_LAYOUT.MARBIX");
    EXPECT_EQ(editor->baseName, "SampleLandscape_LAYOUT");
    EXPECT_EQ(editor->paths.currentFolder, menus);
    EXPECT_EQ(controls.windowTitle, WindowTitleText("SampleLandscape_LAYOUT.MARBIX")
                                        + "      Resolution: 1920 x 1080 at 72 PPI (26.7 in x 15.0 in)");
    EXPECT_EQ(editor->layout.NumberOfColumns, 2);
    EXPECT_EQ(editor->layout.strip(0, 1).mainItem().Text, "Classic Burger");
    EXPECT_TRUE(editor->layout.strip(0, 13).Picture.SubImageFileName.startsWith(editor->paths.workingFolder));
    EXPECT_FALSE(editor->renderer.shownBoard().isNull());
    EXPECT_TRUE(controls.isEnabled(ControlId::SaveLayoutAndTvImage));
    EXPECT_FALSE(controls.isEnabled(ControlId::MoveUp));
    EXPECT_EQ(controls.text(ControlId::ModeLabel), "EDIT MODE:  IDLE");
    EXPECT_FALSE(editor->migrationPending);
    EXPECT_FALSE(editor->modified);
    // The fonts the package carries are installed here: their copies are not kept.
    EXPECT_FALSE(QFile::exists(editor->paths.workingFolder + "/DejaVuSans.ttf"));
    EXPECT_TRUE(QFile::exists(editor->paths.workingFolder + "/Layout.XMARBIX"));
}

TEST_F(OpenFixture, ATvImageOpensThePackageBesideIt)
{
    samplePackage();
    open(menus + "/SampleLandscape_TV.jpg");
    EXPECT_EQ(editor->layoutName, "SampleLandscape_LAYOUT.MARBIX");
    EXPECT_EQ(editor->layout.strip(1, 1).mainItem().Text, "Crispy Chicken");

    QImage(10, 10, QImage::Format_RGB32).save(menus + "/Lunch_TV.jpg");
    prompter.shown.clear();
    open(menus + "/Lunch_TV.jpg");
    EXPECT_EQ(prompter.shown,
              QStringList{"Unable to open file\r\n\r\n" + menus + "/Lunch_LAYOUT.MARBIX\r\n\r\nPress OK to continue."});
    EXPECT_EQ(editor->layoutName, "SampleLandscape_LAYOUT.MARBIX") << "the open layout stays";
}

TEST_F(OpenFixture, CancellingTheSaveQuestionShowsNoDialog)
{
    editor->modified = true;
    prompter.answers = {Answer::Cancel};
    open(samplePackage());
    EXPECT_TRUE(prompter.dialogTitles.isEmpty());
    EXPECT_TRUE(editor->modified);
    EXPECT_TRUE(editor->backgroundName.isEmpty());
}

TEST_F(OpenFixture, APackageWithoutADocumentCannotBeOpened)
{
    QFile zip(menus + "/Empty_LAYOUT.MARBIX");
    ASSERT_TRUE(zip.open(QIODevice::WriteOnly));
    zip.write("not a zip at all");
    zip.close();
    open(zip.fileName());
    EXPECT_EQ(prompter.shown, QStringList{"Unable to open file\r\n\r\n" + editor->paths.workingFolder
                                          + "/Layout.XMARBIX\r\n\r\nPress OK to continue."});
    EXPECT_TRUE(editor->backgroundName.isEmpty());
}

TEST_F(OpenFixture, ALegacyLayoutOpensFromItsSupportFolderAndOffersTheConversion)
{
    open(legacyLayout());
    EXPECT_FALSE(editor->fromPackage);
    EXPECT_EQ(editor->layoutName, "Lunch.jpg");
    EXPECT_EQ(editor->legacyDocumentName, "MarbixLayout_Lunch.XMARBIX");
    EXPECT_EQ(editor->backgroundImagePath, menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg");
    EXPECT_EQ(editor->layout.strip(1, 3).Picture.SubImageFileName, menus + "/Lunch_SupportFiles/fish.jpg");
    EXPECT_TRUE(controls.windowTitle.contains("MarbixFile : MarbixLayout_Lunch.XMARBIX"));
    EXPECT_TRUE(editor->migrationPending);
    EXPECT_TRUE(editor->fontGathering);

    // No: everything stays, and the question does not come again for this open.
    prompter.answers = {Answer::No};
    editor->RunPendingMigration();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].startsWith("We are transitioning to a simpler file system.\r\n\rThe layout file\r\n"
                                             "        MarbixLayout_Lunch.XMARBIX\r\n"));
    EXPECT_TRUE(prompter.shown[0].contains("        Lunch_LAYOUT.MARBIX.\r\n"));
    EXPECT_TRUE(QFile::exists(menus + "/MarbixLayout_Lunch.XMARBIX"));
    EXPECT_FALSE(editor->migrationPending);
    editor->RunPendingMigration();
    EXPECT_EQ(prompter.shown.size(), 1);
}

TEST_F(OpenFixture, ConvertingALegacyLayoutReplacesItsFilesByOnePackage)
{
    open(legacyLayout());
    editor->Refresh(); // the paint that gathers the fonts comes before the question
    prompter.answers = {Answer::Yes};
    editor->RunPendingMigration();
    EXPECT_TRUE(QFile::exists(menus + "/Lunch_LAYOUT.MARBIX"));
    EXPECT_FALSE(QFile::exists(menus + "/MarbixLayout_Lunch.XMARBIX"));
    EXPECT_FALSE(QDir(menus + "/Lunch_SupportFiles").exists());
    EXPECT_TRUE(editor->fromPackage);
    EXPECT_EQ(editor->layoutName, "Lunch.MARBIX");
    EXPECT_EQ(editor->backgroundImagePath, editor->paths.workingFolder + "/Background.jpg");
    EXPECT_EQ(editor->layout.strip(1, 3).Picture.SubImageFileName, editor->paths.workingFolder + "/fish.jpg");
    EXPECT_TRUE(controls.windowTitle.contains("MarbixFile : Lunch_LAYOUT.MARBIX"));
    EXPECT_TRUE(QFile::exists(editor->paths.workingFolder + "/fish.jpg"));
}

TEST_F(OpenFixture, AFailedConversionKeepsTheLegacyFiles)
{
    open(legacyLayout());
    QDir().mkpath(menus + "/Lunch_LAYOUT.MARBIX"); // a folder where the package would go
    prompter.answers = {Answer::Yes};
    editor->RunPendingMigration();
    EXPECT_TRUE(prompter.shown.last().contains("UNABLE TO SAVE FILE."));
    EXPECT_TRUE(QFile::exists(menus + "/MarbixLayout_Lunch.XMARBIX"));
    EXPECT_TRUE(QFile::exists(menus + "/Lunch_SupportFiles/fish.jpg"));
    EXPECT_FALSE(editor->fromPackage);
}

TEST_F(OpenFixture, ADocumentWhoseNewNameIsItsOwnIsNeverConverted)
{
    // A package with a lower-case extension is read as a legacy document: the conversion would
    // write over the very file that was opened.
    const QString package = samplePackage();
    const QString lower = menus + "/Odd_LAYOUT.marbix";
    QFile::copy(package, lower);
    open(lower);
    EXPECT_EQ(editor->layout.NumberOfColumns, 0);
    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(editor->MigrateLegacyLayout());
    EXPECT_TRUE(prompter.shown.isEmpty());
    QFile original(package), opened(lower);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), opened.readAll());
}


// A package whose texts use a font this machine does not have, in two groups.
TEST_F(OpenFixture, AMissingFontIsListedOnceAndGivingUpStopsTheOpen)
{
    const QString package = samplePackage();
    // Rewrite the document of the sample with an unknown face in two strips.
    const QString work = data.file("rewrite");
    auto layout = std::make_unique<MenuLayout>();
    samples::BuildSample(samples::SampleKind::Landscape, work, *layout);
    layout->strip(0, 1).mainItem().Font = "NoSuchFaceAnywhere";
    layout->strip(0, 2).subItems().Font = "NoSuchFaceAnywhere";
    ASSERT_TRUE(WriteLayoutPackage(package, {*layout, true, work + "/Background.jpg", {}, work}, prompter));

    prompter.answers = {Answer::Cancel}; // the installation message: give up
    open(package);
    ASSERT_FALSE(prompter.shown.isEmpty());
    EXPECT_EQ(prompter.shown[0].count("NoSuchFaceAnywhere"), 1) << prompter.shown[0].toStdString();
    EXPECT_EQ(editor->missingFontsList, "NoSuchFaceAnywhere\r\n");
    EXPECT_TRUE(editor->backgroundName.isEmpty()) << "the board is not drawn";
    EXPECT_EQ(editor->layout.strip(0, 1).mainItem().Text, "Classic Burger") << "the strips stay in memory";
}


TEST_F(OpenFixture, TheVerticalGridFollowsTheColumnsOfTheLayoutJustRead)
{
    open(samplePackage());
    EXPECT_TRUE(controls.isEnabled(ControlId::DisplayVerticalGrid));

    // The same legacy layout with a single column.
    const QString path = legacyLayout();
    auto layout = std::make_unique<MenuLayout>();
    Strip working;
    ResetAllStrips(*layout, working, kWhite);
    layout->NumberOfColumns = 1;
    layout->NumberOfRows = 4;
    layout->strip(0, 0).mainItem().Text = "Fish & Chips";
    layout->strip(0, 0).mainItem().Font = "DejaVu Sans";
    WriteUtf16(path, BuildLayoutDocument(*layout, "C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg"));
    prompter.answers = {Answer::No};
    open(path);
    ASSERT_EQ(editor->layout.NumberOfColumns, 1);
    EXPECT_FALSE(controls.isEnabled(ControlId::DisplayVerticalGrid));
}

} // namespace
} // namespace tavrin

#include "editor/Editor.h"
#include "editor/WindowTitle.h"
#include "layout/LayoutDocument.h"
#include "layout/LayoutPackage.h"
#include "layout/StripOperations.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <minizip/zip.h>

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
    std::unique_ptr<BoardDocument> document;
    std::unique_ptr<Editor> editor;
    QString menus;

    void SetUp() override
    {
        test::EnsureGuiApplication();
        document = std::make_unique<BoardDocument>(DataFolderPath());
        editor = std::make_unique<Editor>(controls, prompter, *document);
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
    QString legacyLayout(const QString &backgroundValue = "C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg",
                         const QString &documentName = "MarbixLayout_Lunch.XMARBIX",
                         const QString &backgroundFile = "Lunch_SupportFiles/Lunch-MARBIXBGD.jpg")
    {
        QDir().mkpath(menus + "/Lunch_SupportFiles");
        QImage background(640, 360, QImage::Format_RGB32);
        background.fill(QColor(40, 20, 20));
        background.save(menus + "/" + backgroundFile);
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
        QString document = BuildLayoutDocument(*layout, "x");
        document.replace("<BackgroundFileName>x</BackgroundFileName>",
                         "<BackgroundFileName>" + backgroundValue + "</BackgroundFileName>");
        const QString path = menus + "/" + documentName;
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
    EXPECT_TRUE(editor->document().fromPackage());
    EXPECT_EQ(editor->document().backgroundName(), "Background.jpg");
    EXPECT_EQ(editor->document().backgroundImagePath(), editor->document().workingFolder() + "/Background.jpg");
    EXPECT_EQ(editor->document().names().layoutName, "SampleLandscape_LAYOUT.MARBIX");
    EXPECT_EQ(editor->document().names().baseName, "SampleLandscape_LAYOUT");
    EXPECT_EQ(editor->paths().currentFolder, menus);
    EXPECT_EQ(controls.windowTitle, WindowTitleText("SampleLandscape_LAYOUT.MARBIX")
                                        + "      Resolution: 1920 x 1080 at 72 PPI (26.7 in x 15.0 in)");
    EXPECT_EQ(editor->layout().NumberOfColumns, 2);
    EXPECT_EQ(editor->layout().strip(0, 1).mainItem().Text, "Classic Burger");
    EXPECT_TRUE(editor->layout().strip(0, 13).Picture.SubImageFileName.startsWith(editor->document().workingFolder()));
    EXPECT_FALSE(editor->renderer().shownBoard().isNull());
    EXPECT_TRUE(controls.isEnabled(ControlId::SaveLayoutAndTvImage));
    EXPECT_FALSE(controls.isEnabled(ControlId::MoveUp));
    EXPECT_EQ(controls.text(ControlId::ModeLabel), "EDIT MODE:  IDLE");
    EXPECT_FALSE(editor->migrationPending());
    EXPECT_FALSE(editor->document().isModified());
    // The fonts the package carries are installed here: their copies are not kept.
    EXPECT_FALSE(QFile::exists(editor->document().workingFolder() + "/DejaVuSans.ttf"));
    EXPECT_TRUE(QFile::exists(editor->document().workingFolder() + "/Layout.XMARBIX"));
}

TEST_F(OpenFixture, ATvImageOpensThePackageBesideIt)
{
    samplePackage();
    open(menus + "/SampleLandscape_TV.jpg");
    EXPECT_EQ(editor->document().names().layoutName, "SampleLandscape_LAYOUT.MARBIX");
    EXPECT_EQ(editor->layout().strip(1, 1).mainItem().Text, "Crispy Chicken");

    QImage(10, 10, QImage::Format_RGB32).save(menus + "/Lunch_TV.jpg");
    prompter.shown.clear();
    open(menus + "/Lunch_TV.jpg");
    EXPECT_EQ(prompter.shown,
              QStringList{"Unable to open file\r\n\r\n" + menus + "/Lunch_LAYOUT.MARBIX\r\n\r\nPress OK to continue."});
    EXPECT_EQ(editor->document().names().layoutName, "SampleLandscape_LAYOUT.MARBIX") << "the open layout stays";
}

TEST_F(OpenFixture, CancellingTheSaveQuestionShowsNoDialog)
{
    test::MakeUnsavedChange(*editor);
    prompter.answers = {Answer::Cancel};
    open(samplePackage());
    EXPECT_TRUE(prompter.dialogTitles.isEmpty());
    EXPECT_TRUE(editor->document().isModified());
    EXPECT_TRUE(editor->document().backgroundName().isEmpty());
}

// A file that turns out not to be a layout package leaves the open layout exactly as it was:
// its strips, files, title, name and modified flag. The message names the file the user picked.
TEST_F(OpenFixture, AFailedOpenLeavesTheOpenLayoutAsItWas)
{
    const QString good = samplePackage();
    QFile goodFile(good);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray goodBytes = goodFile.readAll();

    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"Random_LAYOUT.MARBIX", QByteArray("not a zip at all, just some bytes")},
        {"Damaged_LAYOUT.MARBIX", goodBytes.left(goodBytes.size() / 2)},
        {"NoDocument_LAYOUT.MARBIX", QByteArray()}, // a zip without "Layout.XMARBIX", made below
    };
    for (const auto &c : cases) {
        const QString bad = menus + "/" + c.name;
        if (c.bytes.isEmpty()) {
            zipFile zf = zipOpen64(QFile::encodeName(bad).constData(), APPEND_STATUS_CREATE);
            ASSERT_NE(zf, nullptr);
            zip_fileinfo info{};
            ASSERT_EQ(zipOpenNewFileInZip(zf, "Background.jpg", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                          Z_DEFAULT_COMPRESSION),
                      ZIP_OK);
            zipWriteInFileInZip(zf, "jpeg", 4);
            zipCloseFileInZip(zf);
            ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);
        } else {
            QFile file(bad);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }

        open(good);
        test::ChangeBoard(*editor, [&](MenuLayout &board) { board.strip(0, 1).mainItem().Text = "Edited Burger"; });
        test::MakeUnsavedChange(*editor);
        const QString workingFolder = editor->document().workingFolder();
        const QStringList workingFiles = QDir(workingFolder).entryList(QDir::Files, QDir::Name);
        const QStringList dataFolder = QDir(data.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString title = controls.windowTitle;
        prompter.shown.clear();
        prompter.answers = {Answer::No}; // do not save the edits first
        open(bad);

        EXPECT_EQ(prompter.shown, QStringList({"Do you wish to save this image?",
                                               "Unable to open file\r\n\r\n" + bad
                                                   + "\r\n\r\nIt is not a layout package or is damaged.\r\n\r\n"
                                                     "Press OK to continue."}))
            << c.name;
        EXPECT_EQ(editor->document().names().layoutName, "SampleLandscape_LAYOUT.MARBIX") << c.name;
        EXPECT_EQ(controls.windowTitle, title) << c.name;
        EXPECT_TRUE(editor->document().isModified()) << "the edits are still unsaved: " << c.name;
        EXPECT_EQ(editor->layout().strip(0, 1).mainItem().Text, "Edited Burger") << c.name;
        EXPECT_EQ(editor->document().backgroundName(), "Background.jpg") << c.name;
        EXPECT_EQ(editor->document().workingFolder(), workingFolder) << c.name;
        EXPECT_EQ(QDir(workingFolder).entryList(QDir::Files, QDir::Name), workingFiles) << c.name;
        EXPECT_EQ(QDir(data.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), dataFolder)
            << "no working folder is left behind: " << c.name;
        EXPECT_TRUE(QFile::exists(editor->layout().strip(0, 13).Picture.SubImageFileName)) << c.name;
    }

    // Cancelling the open dialog after declining to save: the edits stay marked as unsaved, and
    // the white-print format the layout was shown in comes back.
    editor->setWhitePrint(true);
    prompter.answers = {Answer::No};
    prompter.fileNames.clear();
    editor->OpenLayoutCommand();
    EXPECT_TRUE(editor->document().isModified());
    EXPECT_TRUE(editor->whitePrintChecked());
    EXPECT_TRUE(editor->layout().WhitePrintBackground);
}

// Opening a good layout replaces the working folder by a new one and removes the old one.
TEST_F(OpenFixture, OpeningSwitchesToANewWorkingFolderAndRemovesTheOldOne)
{
    const QString package = samplePackage();
    open(package);
    const QString first = editor->document().workingFolder();
    open(package);
    const QString second = editor->document().workingFolder();
    EXPECT_NE(first, second);
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo(second).fileName().startsWith("ZUP"));
    EXPECT_EQ(QFileInfo(second).path(), editor->paths().dataFolder);
    EXPECT_EQ(editor->document().backgroundImagePath(), second + "/Background.jpg");
    EXPECT_TRUE(editor->layout().strip(0, 13).Picture.SubImageFileName.startsWith(second + "/"));
    EXPECT_FALSE(editor->renderer().shownBoard().isNull());
}

// A folder whose name holds "_TV" is where the user keeps layouts, not part of a TV image's name.
TEST_F(OpenFixture, ALayoutInAFolderNamedWithTvOpens)
{
    const QString package = samplePackage();
    const QString store = data.file("Store_TV");
    QDir().mkpath(store);
    ASSERT_TRUE(QFile::copy(package, store + "/Lunch_LAYOUT.MARBIX"));
    open(store + "/Lunch_LAYOUT.MARBIX");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join("|").toStdString();
    EXPECT_EQ(editor->document().names().layoutName, "Lunch_LAYOUT.MARBIX");
    EXPECT_EQ(editor->layout().strip(0, 1).mainItem().Text, "Classic Burger");
}

TEST_F(OpenFixture, ALegacyLayoutOpensFromItsSupportFolderAndOffersTheConversion)
{
    open(legacyLayout());
    EXPECT_FALSE(editor->document().fromPackage());
    EXPECT_EQ(editor->document().names().layoutName, "Lunch.jpg");
    EXPECT_EQ(editor->document().names().legacyDocumentName, "MarbixLayout_Lunch.XMARBIX");
    EXPECT_EQ(editor->document().backgroundImagePath(), menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg");
    EXPECT_EQ(editor->layout().strip(1, 3).Picture.SubImageFileName, menus + "/Lunch_SupportFiles/fish.jpg");
    EXPECT_TRUE(controls.windowTitle.contains("MarbixFile : MarbixLayout_Lunch.XMARBIX"));
    EXPECT_TRUE(editor->migrationPending());
    EXPECT_TRUE(editor->document().gatheringFonts());

    // No: everything stays, and the question does not come again for this open.
    prompter.answers = {Answer::No};
    editor->RunPendingMigration();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].startsWith("We are transitioning to a simpler file system.\r\n\rThe layout file\r\n"
                                             "        MarbixLayout_Lunch.XMARBIX\r\n"));
    EXPECT_TRUE(prompter.shown[0].contains("        Lunch_LAYOUT.MARBIX.\r\n"));
    EXPECT_TRUE(QFile::exists(menus + "/MarbixLayout_Lunch.XMARBIX"));
    EXPECT_FALSE(editor->migrationPending());
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
    EXPECT_TRUE(editor->document().fromPackage());
    // Named as its package: the title shows it, and the save dialog proposes it again.
    EXPECT_EQ(editor->document().names().layoutName, "Lunch_LAYOUT.MARBIX");
    EXPECT_EQ(editor->document().backgroundImagePath(), editor->document().workingFolder() + "/Background.jpg");
    EXPECT_EQ(editor->layout().strip(1, 3).Picture.SubImageFileName, editor->document().workingFolder() + "/fish.jpg");
    EXPECT_TRUE(controls.windowTitle.contains("MarbixFile : Lunch_LAYOUT.MARBIX"));
    EXPECT_TRUE(QFile::exists(editor->document().workingFolder() + "/fish.jpg"));
}

TEST_F(OpenFixture, AFailedConversionKeepsTheLegacyFiles)
{
    open(legacyLayout());
    // The picture can no longer be read when the package is written (a folder now stands under
    // its name), so the conversion fails.
    ASSERT_TRUE(QFile::remove(menus + "/Lunch_SupportFiles/fish.jpg"));
    ASSERT_TRUE(QDir().mkpath(menus + "/Lunch_SupportFiles/fish.jpg"));
    prompter.answers = {Answer::Yes};
    editor->RunPendingMigration();
    ASSERT_FALSE(prompter.shown.isEmpty());
    EXPECT_TRUE(prompter.shown.last().contains("UNABLE TO SAVE FILE."));
    EXPECT_TRUE(QFile::exists(menus + "/MarbixLayout_Lunch.XMARBIX"));
    EXPECT_TRUE(QFile::exists(menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"));
    EXPECT_FALSE(QFile::exists(menus + "/Lunch_LAYOUT.MARBIX"));
    EXPECT_FALSE(editor->document().fromPackage());
}

// A file of the new name is the user's: the conversion is not offered and nothing changes.
TEST_F(OpenFixture, AnExistingPackageOfTheNewNameIsNeverReplaced)
{
    open(legacyLayout());
    QFile existing(menus + "/Lunch_LAYOUT.MARBIX");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("the user's own package");
    existing.close();
    prompter.shown.clear();
    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(editor->MigrateLegacyLayout());
    EXPECT_TRUE(prompter.shown.isEmpty());
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "the user's own package");
    EXPECT_TRUE(QFile::exists(menus + "/MarbixLayout_Lunch.XMARBIX"));
}

// The clean-up after a conversion deletes only what went into the package, from the layout's
// own support folder: never the layout folder, a folder above it, a subfolder or another file.
TEST_F(OpenFixture, ConversionCleanUpSparesEverythingItDidNotPack)
{
    const struct {
        const char *backgroundValue;
        const char *backgroundFile; // where that background is found
    } cases[] = {
        {"\\Lunch-MARBIXBGD.jpg", "Lunch-MARBIXBGD.jpg"}, // directly in the layout folder
        {"C:\\Old\\..\\Lunch-MARBIXBGD.jpg", "Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"},
        {"C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg", "Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.backgroundValue);
        QDir(menus).removeRecursively();
        QDir().mkpath(menus + "/Lunch_SupportFiles/originals");
        const auto write = [](const QString &path, const QByteArray &bytes) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write(menus + "/Lunch_SupportFiles/originals/fish-raw.jpg", "original photo");
        write(menus + "/Lunch_SupportFiles/notes.txt", "the user's notes");
        write(menus + "/Dinner_LAYOUT.MARBIX", "another layout");
        write(menus + "/Layout.XMARBIX", "a file that only has the document's name");
        const QString document = legacyLayout(c.backgroundValue, "MarbixLayout_Lunch.XMARBIX", c.backgroundFile);
        open(document);
        editor->Refresh();
        prompter.answers = {Answer::Yes};
        editor->RunPendingMigration();

        EXPECT_TRUE(editor->document().fromPackage());
        EXPECT_TRUE(QFile::exists(menus + "/Lunch_LAYOUT.MARBIX"));
        EXPECT_FALSE(QFile::exists(document));
        EXPECT_FALSE(QFile::exists(menus + "/Lunch_SupportFiles/fish.jpg")) << "packed: it goes";
        EXPECT_TRUE(QFile::exists(menus + "/Lunch_SupportFiles/originals/fish-raw.jpg"));
        EXPECT_TRUE(QFile::exists(menus + "/Lunch_SupportFiles/notes.txt"));
        EXPECT_TRUE(QFile::exists(menus + "/Dinner_LAYOUT.MARBIX"));
        QFile untouched(menus + "/Layout.XMARBIX");
        ASSERT_TRUE(untouched.open(QIODevice::ReadOnly));
        EXPECT_EQ(untouched.readAll(), "a file that only has the document's name");
        // A background outside the support folder is the user's file and stays.
        EXPECT_EQ(QFile::exists(menus + "/Lunch-MARBIXBGD.jpg"), QString(c.backgroundFile) == "Lunch-MARBIXBGD.jpg");
        EXPECT_FALSE(QFile::exists(menus + "/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg"));
        EXPECT_TRUE(QFile::exists(editor->document().workingFolder() + "/Background.jpg"));
    }
}

// A lower-case extension still gives the package its proper name, and the package opens.
TEST_F(OpenFixture, ALowerCaseLegacyDocumentConvertsToAPackageThatOpens)
{
    const QString document = legacyLayout("C:\\Old\\Lunch_SupportFiles\\Lunch-MARBIXBGD.jpg",
                                          "MarbixLayout_Lunch.xmarbix");
    open(document);
    editor->Refresh();
    prompter.answers = {Answer::Yes};
    editor->RunPendingMigration();
    ASSERT_TRUE(QFile::exists(menus + "/Lunch_LAYOUT.MARBIX"));
    EXPECT_FALSE(QFile::exists(menus + "/Lunch.xmarbix"));
    EXPECT_FALSE(QFile::exists(document));
    EXPECT_TRUE(controls.windowTitle.contains("MarbixFile : Lunch_LAYOUT.MARBIX"));
    // Named as its package: the title shows it, and the save dialog proposes it again.
    EXPECT_EQ(editor->document().names().layoutName, "Lunch_LAYOUT.MARBIX");

    prompter.shown.clear();
    open(menus + "/Lunch_LAYOUT.MARBIX");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join("|").toStdString();
    EXPECT_TRUE(editor->document().fromPackage());
    EXPECT_EQ(editor->layout().strip(0, 0).mainItem().Text, "Fish & Chips");
    EXPECT_TRUE(QFile::exists(editor->layout().strip(1, 3).Picture.SubImageFileName));
}

// A legacy picture path never leads out of the layout's folders: it is looked for in the
// support folder by its file name, so a stranger's layout cannot pack other files when saved.
TEST_F(OpenFixture, LegacyPicturePathsStayInsideTheSupportFolder)
{
    const QString document = legacyLayout();
    QFile secret(data.file("secret.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("private");
    secret.close();
    QFile file(document);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(file.readAll().constData()), file.size() / 2);
    file.close();
    text.replace("C:\\Old\\Lunch_SupportFiles\\fish.jpg", "Lunch_SupportFiles/../../secret.txt");
    WriteUtf16(document, text);

    open(document);
    EXPECT_EQ(editor->layout().strip(1, 3).Picture.SubImageFileName, menus + "/Lunch_SupportFiles/secret.txt");
}

TEST_F(OpenFixture, ADocumentWhoseNewNameIsItsOwnIsNeverConverted)
{
    // A package with a lower-case extension is read as a legacy document: the conversion would
    // write over the very file that was opened.
    const QString package = samplePackage();
    const QString lower = menus + "/Odd_LAYOUT.marbix";
    QFile::copy(package, lower);
    open(lower);
    EXPECT_EQ(editor->layout().NumberOfColumns, 0);
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
    // The open does not go through: the board open before (none here) stays.
    EXPECT_FALSE(editor->document().hasBoard());
    EXPECT_TRUE(editor->layout().strip(0, 1).mainItem().Text.isEmpty());
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
    ASSERT_EQ(editor->layout().NumberOfColumns, 1);
    EXPECT_FALSE(controls.isEnabled(ControlId::DisplayVerticalGrid));
}

} // namespace
} // namespace tavrin

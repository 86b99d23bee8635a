#include "editor/Editor.h"
#include "document/MessageTexts.h"
#include "editor/SaveFeedback.h"
#include "document/SaveOutput.h"
#include "layout/LayoutPackage.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace tavrin {
namespace {

using test::ScriptedPrompter;
using test::TableControls;
using test::TempDataDir;

// Stands in for the window's screen work: a clock that only moves while the command waits, a
// drive test with a set answer, and a log of what the user would have seen.
struct RecordingFeedback : SaveFeedback {
    bool removable = false;
    qint64 now = 1000;
    qint64 shownAt = -1, closedAt = -1;
    QString pleaseWaitText;
    QStringList events;
    QStringList printed;
    const ScriptedPrompter *prompter = nullptr;
    int messagesWhenClosed = -1;

    void setWaitCursor(bool on) override { events << (on ? "wait" : "arrow"); }
    void movePointerToWindowCentre() override { events << "pointer to window"; }
    void movePointerToProgressPoint() override { events << "pointer to progress"; }
    bool isRemovableDrive(const QString &) override { return removable; }
    void showPleaseWait(const QString &text) override
    {
        events << "please-wait shown";
        pleaseWaitText = text;
        shownAt = now;
    }
    void closePleaseWait() override
    {
        events << "please-wait closed";
        closedAt = now;
        messagesWhenClosed = int(prompter->shown.size());
    }
    qint64 clockMilliseconds() override { return now; }
    // Time passes in uneven steps, as a real event loop would let it.
    void keepWindowsAlive(qint64 atMost) override { now += std::min<qint64>(atMost, 700); }
    void printImage(const QString &path) override { printed << path; }
};

QString Confirmation(const QString &package, const QString &tv, const QString &folder)
{
    return "\n\nFILE SAVED CONFIRMATION!\n\nThe Marbix layout file:\n" + package
        + "\n\nand its associated TV display file:\r\n" + tv + "\n\nhave been saved in directory:\n" + folder;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Mean grey of a 9 x 9 block: JPEG noise averages out.
int BlockGrey(const QImage &image, int x, int y)
{
    int sum = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx)
            sum += qGray(image.pixel(x + dx, y + dy));
    return sum / 81;
}

struct SaveFixture : ::testing::Test {
    TempDataDir data;
    TableControls controls;
    ScriptedPrompter prompter;
    RecordingFeedback feedback;
    std::unique_ptr<BoardDocument> document;
    std::unique_ptr<Editor> editor;
    QString samples, out;

    void SetUp() override
    {
        test::EnsureGuiApplication();
        document = std::make_unique<BoardDocument>(DataFolderPath());
        editor = std::make_unique<Editor>(controls, prompter, *document);
        editor->Initialise(1733650000, 1, nullptr);
        editor->setSaveFeedback(&feedback);
        editor->saveCommand = [this] { editor->SaveLayoutAndTvImageCommand(); };
        feedback.prompter = &prompter;
        samples = data.file("samples");
        out = data.file("out");
        QDir().mkpath(out);
    }
    void open(samples::SampleKind kind)
    {
        QString error;
        const QStringList written = samples::WriteSample(kind, samples, &error);
        ASSERT_EQ(written.size(), 2) << error.toStdString();
        openPackage(written[0]);
    }
    void openPackage(const QString &package)
    {
        prompter.fileNames = {package};
        editor->OpenLayoutCommand();
        ASSERT_FALSE(editor->document().backgroundName().isEmpty());
        prompter.shown.clear();
        prompter.proposedNames.clear();
        feedback.events.clear();
    }
    // The user types name into the save dialog.
    void save(const QString &name)
    {
        prompter.fileNames = {out + "/" + name};
        editor->SaveLayoutAndTvImageCommand();
    }
    QStringList outFiles() const { return QDir(out).entryList(QDir::Files, QDir::Name); }
};

TEST(SaveNames, ProposedAndChosenNamesFollowTheWhitePrintBox)
{
    const struct {
        QString layoutName;
        bool whitePrint;
        QString proposed;
    } proposals[] = {
        {"Menu1_LAYOUT.MARBIX", false, "Menu1_LAYOUT.MARBIX"},
        {"Menu1_LAYOUT.MARBIX", true, "Menu1_LAYOUT_WHITE_PRINT_BGND.MARBIX"},
        {"Menu1_LAYOUT_WHITE_PRINT_BGND.MARBIX", false, "Menu1_LAYOUT.MARBIX"},
    };
    for (const auto &c : proposals)
        EXPECT_EQ(ProposedSaveName(c.layoutName, c.whitePrint), c.proposed) << c.layoutName.toStdString();

    const struct {
        QString chosen;
        bool whitePrint;
        QString package; // written
        QString tvImage;
    } chosen[] = {
        {"/m/Menu2", false, "/m/Menu2_LAYOUT.MARBIX", "/m/Menu2_TV.jpg"},
        {"/m/Menu2", true, "/m/Menu2_LAYOUT_WHITE_PRINT_BGND.MARBIX", "/m/Menu2_TV_WHITE_PRINT_BGND.jpg"},
        {"/m/Menu1_LAYOUT_WHITE_PRINT_BGND.MARBIX", false, "/m/Menu1_LAYOUT.MARBIX", "/m/Menu1_TV.jpg"},
        // A ".jpg" name: the TV image takes it, the package the same name with ".MARBIX".
        {"/m/Menu3.jpg", false, "/m/Menu3.MARBIX", "/m/Menu3.jpg"},
        {"/m/Menu3.JPG", false, "/m/Menu3.MARBIX", "/m/Menu3.jpg"},
        {"/m/lunch.marbix", false, "/m/lunch_LAYOUT.MARBIX", "/m/lunch_TV.jpg"},
        // Any other ending would give both files one name: it becomes part of the base.
        {"/m/Menu.v2", false, "/m/Menu.v2_LAYOUT.MARBIX", "/m/Menu.v2_TV.jpg"},
        // The rules are for the file name: the folders stay as the user picked them.
        {"/m/OLD_LAYOUTS.MARBIX/Menu4", false, "/m/OLD_LAYOUTS.MARBIX/Menu4_LAYOUT.MARBIX",
         "/m/OLD_LAYOUTS.MARBIX/Menu4_TV.jpg"},
    };
    for (const auto &c : chosen) {
        SCOPED_TRACE(c.chosen.toStdString());
        const QString packagePath = PackagePathForChosenName(c.chosen, c.whitePrint);
        EXPECT_EQ(PackagePathToWrite(packagePath), c.package);
        EXPECT_EQ(TvImagePathBeside(packagePath, c.whitePrint), c.tvImage);
    }
}

TEST_F(SaveFixture, SavingWritesBothFilesAndConfirmsThem)
{
    open(samples::SampleKind::Landscape);
    ASSERT_TRUE(editor->backgroundProxyInUse()) << "the preview shows the reduced background";
    test::MakeUnsavedChange(*editor);
    const struct {
        QString typed;
        bool whitePrint;
        QString proposed, package, tvImage;
    } cases[] = {
        {"Menu2", false, "SampleLandscape_LAYOUT.MARBIX", "Menu2_LAYOUT.MARBIX", "Menu2_TV.jpg"},
        {"Menu2", true, "Menu2_LAYOUT_WHITE_PRINT_BGND.MARBIX", "Menu2_LAYOUT_WHITE_PRINT_BGND.MARBIX",
         "Menu2_TV_WHITE_PRINT_BGND.jpg"},
        {"Menu3.jpg", false, "Menu2_LAYOUT.MARBIX", "Menu3.MARBIX", "Menu3.jpg"},
    };
    QStringList expectedFiles;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        editor->setWhitePrint(c.whitePrint);
        prompter.shown.clear();
        prompter.proposedNames.clear();
        save(c.typed);

        EXPECT_EQ(prompter.dialogTitles.last(), "Save .MARBIX Layout File and its associated .JPG Image-for-TV File");
        EXPECT_EQ(prompter.saveDialogFilters.last(), "Marbix Layout(*.MARBIX) (*.MARBIX)");
        EXPECT_EQ(prompter.proposedNames, QStringList{c.proposed});
        EXPECT_EQ(prompter.shown, QStringList{Confirmation(c.package, c.tvImage, out)});
        expectedFiles << c.package << c.tvImage;
        expectedFiles.sort();
        EXPECT_EQ(outFiles(), expectedFiles) << "no temporary file is left behind";

        // The TV image has the background's full resolution, whatever the preview showed.
        const QImage tv(out + "/" + c.tvImage);
        ASSERT_EQ(tv.size(), QSize(1920, 1080));
        EXPECT_EQ(BlockGrey(tv, 6, 6) > 245, c.whitePrint) << "white print fills the background white";
        EXPECT_FALSE(editor->document().isModified());
        EXPECT_TRUE(controls.isEnabled(ControlId::Exit));
        EXPECT_EQ(editor->paths().currentFolder, out);
        EXPECT_TRUE(controls.windowTitle.endsWith("      Resolution: 1920 x 1080 at 72 PPI (26.7 in x 15.0 in)"));
    }
    EXPECT_EQ(editor->document().names().layoutName, "Menu3.jpg");
    EXPECT_TRUE(prompter.rotationQuestions.isEmpty()) << "a landscape board is never turned";
    EXPECT_EQ(feedback.events.filter("please-wait").size(), 0) << "a fixed disk shows no please-wait window";

    // The package holds the board: it opens again to the same strips.
    const QString burger = editor->layout().strip(0, 1).mainItem().Text;
    openPackage(out + "/Menu2_LAYOUT.MARBIX");
    EXPECT_EQ(editor->document().names().layoutName, "Menu2_LAYOUT.MARBIX");
    EXPECT_EQ(editor->layout().strip(0, 1).mainItem().Text, burger);
}

TEST_F(SaveFixture, ACancelledSaveDialogChangesNothingButTheEditModeIsLeft)
{
    open(samples::SampleKind::Landscape);
    test::MakeUnsavedChange(*editor);
    editor->EnterPictureMode({0, 13});
    controls.setText(ControlId::ModeLabel, "EDIT MODE:  PICTURE");
    controls.setEnabled(ControlId::DeletePicture, true);
    const QString name = editor->document().names().layoutName, folder = editor->paths().currentFolder, title = controls.windowTitle;
    editor->SaveLayoutAndTvImageCommand();
    EXPECT_EQ(editor->editMode(), EditMode::Idle);
    EXPECT_EQ(controls.text(ControlId::ModeLabel), "EDIT MODE:  IDLE");
    EXPECT_FALSE(controls.isEnabled(ControlId::DeletePicture));
    EXPECT_EQ(prompter.saveDialogFolders.last(), folder);
    EXPECT_TRUE(editor->document().isModified());
    EXPECT_EQ(editor->document().names().layoutName, name);
    EXPECT_EQ(editor->paths().currentFolder, folder);
    EXPECT_EQ(controls.windowTitle, title);
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(outFiles().isEmpty());
    EXPECT_TRUE(controls.isEnabled(ControlId::Exit));
}

TEST_F(SaveFixture, PriceTextsLoseTheirTildesAndOneTrailingBlank)
{
    open(samples::SampleKind::Landscape);
    const struct {
        int row;
        QString typed, saved, reopened; // reading drops one more trailing blank of a prices text
    } cases[] = {
        {1, "1.99 ~", "1.99", "1.99"},
        {2, "2.49 ", "2.49", "2.49"},
        {3, "3.00  ", "3.00 ", "3.00"},
        {4, "~4.~50", "4.50", "4.50"},
    };
    for (const auto &c : cases)
        test::ChangeBoard(*editor, [&](MenuLayout &board) { board.strip(0, c.row).prices().Text = c.typed; });
    save("Prices");
    for (const auto &c : cases)
        EXPECT_EQ(editor->layout().strip(0, c.row).prices().Text, c.saved) << c.typed.toStdString();
    openPackage(out + "/Prices_LAYOUT.MARBIX");
    for (const auto &c : cases)
        EXPECT_EQ(editor->layout().strip(0, c.row).prices().Text, c.reopened) << c.typed.toStdString();
}

TEST_F(SaveFixture, APortraitBoardAsksForTheRotationEveryTimeAndRemembersIt)
{
    open(samples::SampleKind::Portrait);
    const QString setting = editor->paths().dataFolder + "/RotationData.txt";
    ASSERT_FALSE(QFile::exists(setting));

    prompter.rotations = {0, 1, 2};
    save("Upright");
    save("Clockwise");
    save("Counter");
    EXPECT_EQ(prompter.rotationQuestions, (QList<int>{0, 0, 1})) << "each question shows the last choice";
    EXPECT_EQ(FileBytes(setting), QByteArray("2\0", 2)) << "one UTF-16LE digit, no byte-order mark";

    const QImage upright(out + "/Upright_TV.jpg"), clockwise(out + "/Clockwise_TV.jpg"),
        counter(out + "/Counter_TV.jpg");
    ASSERT_EQ(upright.size(), QSize(1080, 1920));
    ASSERT_EQ(clockwise.size(), QSize(1920, 1080));
    ASSERT_EQ(counter.size(), QSize(1920, 1080));
    // A quarter turn clockwise takes (x, y) to (1919 - y, x); counter-clockwise to (y, 1079 - x).
    for (const QPoint p : {QPoint(100, 150), QPoint(540, 300), QPoint(900, 1000), QPoint(300, 1700)}) {
        SCOPED_TRACE(p.x() * 10000 + p.y());
        const int grey = BlockGrey(upright, p.x(), p.y());
        EXPECT_NEAR(BlockGrey(clockwise, 1919 - p.y(), p.x()), grey, 12);
        EXPECT_NEAR(BlockGrey(counter, p.y(), 1079 - p.x()), grey, 12);
    }

    // A damaged setting counts as none.
    QFile file(setting);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("7\0", 2));
    file.close();
    save("Again");
    EXPECT_EQ(prompter.rotationQuestions.last(), 0);
}

TEST_F(SaveFixture, ARemovableDriveShowsThePleaseWaitWindowForFiveSeconds)
{
    open(samples::SampleKind::Landscape);
    feedback.removable = true;
    save("Stick");
    EXPECT_EQ(feedback.pleaseWaitText,
              "\n\nATTENTION: DO NOT UNPLUG USB FLASH FLASH DRIVE\n\nThe Marbix layout file and TV file\nare being "
              "Saved\n\n(This may take several seconds)\n\nPLEASE WAIT!\n\nDO NOT UNPLUG USB FLASH FLASH DRIVE\n "
              "until notified that file saving has been confirmed");
    EXPECT_GE(feedback.closedAt - feedback.shownAt, 5000);
    EXPECT_EQ(feedback.messagesWhenClosed, 0) << "the notice goes before the result is shown";
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].startsWith("\nFILE SAVED CONFIRMATION!"));
    EXPECT_TRUE(prompter.shown[0].endsWith(out + "\n\n(It is now OK to unplug the USB Flash Drive)"));
    EXPECT_EQ(feedback.events.mid(feedback.events.indexOf("please-wait shown"), 2),
              (QStringList{"please-wait shown", "pointer to progress"}));
}

TEST_F(SaveFixture, AFailedPackageLeavesNoNewTvImageAndTheEarlierPairIntact)
{
    open(samples::SampleKind::Landscape);
    // An earlier save's TV image, and a package name the writer cannot replace.
    QFile old(out + "/Fail_TV.jpg");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier TV image");
    old.close();
    QDir().mkpath(out + "/Fail_LAYOUT.MARBIX");
    test::MakeUnsavedChange(*editor);

    prompter.answers = {Answer::Yes, Answer::Yes}; // replace both
    save("Fail");
    EXPECT_TRUE(prompter.shown.last().startsWith(kSaveFailureText)) << prompter.shown.last().toStdString();
    EXPECT_EQ(FileBytes(out + "/Fail_TV.jpg"), "earlier TV image");
    EXPECT_EQ(QDir(out).entryList({"*.jpg*"}, QDir::Files), QStringList{"Fail_TV.jpg"});
    // The names still point at the opened file; the edits are still unsaved.
    EXPECT_EQ(editor->document().names().layoutName, "SampleLandscape_LAYOUT.MARBIX");
    EXPECT_TRUE(editor->document().isModified());
    EXPECT_TRUE(controls.isEnabled(ControlId::Exit));
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

mode_t PermissionBits(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Whatever stops one of the two files, neither old file changes and no temporary stays.
TEST_F(SaveFixture, WhenEitherFileCannotBeReplacedNeitherChanges)
{
    open(samples::SampleKind::Landscape);
    struct Case {
        const char *what;
        bool tvImageIsFolder;
        mode_t tvImageMode, packageMode;
    };
    const Case cases[] = {
        {"a folder named like the TV image", true, 0644, 0644},
        {"a read-only TV image", false, 0444, 0644},
        {"a read-only package", false, 0644, 0444},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        WriteFile(out + "/Menu_LAYOUT.MARBIX", "the old package");
        if (c.tvImageIsFolder)
            QDir().mkpath(out + "/Menu_TV.jpg");
        else
            WriteFile(out + "/Menu_TV.jpg", "the old TV image");
        ::chmod(QFile::encodeName(out + "/Menu_TV.jpg").constData(), c.tvImageIsFolder ? 0755 : c.tvImageMode);
        ::chmod(QFile::encodeName(out + "/Menu_LAYOUT.MARBIX").constData(), c.packageMode);
        prompter.shown.clear();
        prompter.answers = {Answer::Yes, Answer::Yes}; // replace both
        test::MakeUnsavedChange(*editor);

        save("Menu_LAYOUT.MARBIX");
        EXPECT_TRUE(prompter.shown.last().startsWith(kSaveFailureText)) << prompter.shown.last().toStdString();
        EXPECT_EQ(FileBytes(out + "/Menu_LAYOUT.MARBIX"), "the old package");
        if (!c.tvImageIsFolder) {
            EXPECT_EQ(FileBytes(out + "/Menu_TV.jpg"), "the old TV image");
        }
        EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
                  (QStringList{"Menu_LAYOUT.MARBIX", "Menu_TV.jpg"}));
        EXPECT_TRUE(editor->document().isModified());
    }
}

TEST_F(SaveFixture, ATypedBaseNameAsksBeforeReplacingEitherFile)
{
    open(samples::SampleKind::Landscape);
    WriteFile(out + "/Menu2_LAYOUT.MARBIX", "the old package");
    WriteFile(out + "/Menu2_TV.jpg", "the old TV image");
    ::chmod(QFile::encodeName(out + "/Menu2_LAYOUT.MARBIX").constData(), 0640);
    ::chmod(QFile::encodeName(out + "/Menu2_TV.jpg").constData(), 0600);

    // No to the TV image: nothing is written, as after a cancelled dialog.
    prompter.answers = {Answer::Yes, Answer::No};
    test::MakeUnsavedChange(*editor);
    save("Menu2");
    EXPECT_EQ(prompter.shown, (QStringList{ReplaceQuestionText("Menu2_LAYOUT.MARBIX"),
                                           ReplaceQuestionText("Menu2_TV.jpg")}));
    EXPECT_EQ(FileBytes(out + "/Menu2_LAYOUT.MARBIX"), "the old package");
    EXPECT_EQ(FileBytes(out + "/Menu2_TV.jpg"), "the old TV image");
    EXPECT_TRUE(editor->document().isModified());

    // Yes to both: both are replaced and keep the permission bits their owner gave them.
    prompter.shown.clear();
    prompter.answers = {Answer::Yes, Answer::Yes};
    save("Menu2");
    ASSERT_EQ(prompter.shown.size(), 3);
    EXPECT_TRUE(prompter.shown[2].contains("FILE SAVED CONFIRMATION!"));
    EXPECT_NE(FileBytes(out + "/Menu2_LAYOUT.MARBIX"), "the old package");
    EXPECT_NE(FileBytes(out + "/Menu2_TV.jpg"), "the old TV image");
    EXPECT_EQ(PermissionBits(out + "/Menu2_LAYOUT.MARBIX"), 0640u);
    EXPECT_EQ(PermissionBits(out + "/Menu2_TV.jpg"), 0600u);
    EXPECT_EQ(outFiles(), (QStringList{"Menu2_LAYOUT.MARBIX", "Menu2_TV.jpg"}));
    EXPECT_FALSE(editor->document().isModified());
}

// A board made on a background loaded from the user's pictures: the save reads the picture and
// writes nothing beside it.
TEST_F(SaveFixture, ABoardOnALoadedBackgroundWritesNothingBesideThePicture)
{
    const QString pictures = data.file("pictures");
    QDir().mkpath(pictures);
    QImage background(640, 360, QImage::Format_RGB32);
    background.fill(Qt::darkGreen);
    ASSERT_TRUE(background.save(pictures + "/Wall.jpg"));
    WriteFile(pictures + "/Layout.XMARBIX", "a file of the user's");
    prompter.fileNames = {pictures + "/Wall.jpg"};
    editor->LoadBackgroundCommand();
    ASSERT_EQ(editor->document().backgroundImagePath(), pictures + "/Wall.jpg");

    save("Wall");
    EXPECT_TRUE(prompter.shown.last().contains("FILE SAVED CONFIRMATION!"));
    EXPECT_EQ(outFiles(), (QStringList{"Wall_LAYOUT.MARBIX", "Wall_TV.jpg"}));
    EXPECT_EQ(QDir(pictures).entryList(QDir::Files, QDir::Name), (QStringList{"Layout.XMARBIX", "Wall.jpg"}));
    EXPECT_EQ(FileBytes(pictures + "/Layout.XMARBIX"), "a file of the user's");
}

TEST_F(SaveFixture, AFolderThatCannotBeWrittenGivesTheFailureText)
{
    open(samples::SampleKind::Landscape);
    QFile blocker(out + "/plain-file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    save("plain-file/Menu5");
    ASSERT_EQ(prompter.shown.size(), 1);
    // The save's own text, then which file and why.
    EXPECT_TRUE(prompter.shown[0].startsWith(kSaveFailureText));
    EXPECT_TRUE(prompter.shown[0].contains("Menu5_LAYOUT.MARBIX was not written: " + out + "/plain-file is a file, "
                                           "not a folder"))
        << prompter.shown[0].toStdString();
    EXPECT_EQ(outFiles(), QStringList{"plain-file"});
}

TEST_F(SaveFixture, TheCloseCheckClosesOnlyAfterTheSaveItStartedSucceeded)
{
    open(samples::SampleKind::Landscape);
    test::MakeUnsavedChange(*editor);
    prompter.answers = {Answer::Yes};
    prompter.fileNames = {out + "/Closing"};
    EXPECT_TRUE(editor->PromptSaveOnClose());
    EXPECT_EQ(outFiles(), (QStringList{"Closing_LAYOUT.MARBIX", "Closing_TV.jpg"}));
    EXPECT_FALSE(editor->document().isModified());

    // Yes, then the save dialog cancelled: the window stays, the edits stay unsaved.
    test::MakeUnsavedChange(*editor);
    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(editor->PromptSaveOnClose());
    EXPECT_TRUE(editor->document().isModified());

    // Yes, then a save that fails: the same.
    QFile blocker(out + "/plain-file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    prompter.answers = {Answer::Yes};
    prompter.fileNames = {out + "/plain-file/Closing"};
    EXPECT_FALSE(editor->PromptSaveOnClose());
    EXPECT_TRUE(editor->document().isModified());
    EXPECT_TRUE(prompter.shown.last().startsWith(kSaveFailureText)) << prompter.shown.last().toStdString();

    // No closes without saving: the board is still unlike its file.
    prompter.answers = {Answer::No};
    EXPECT_TRUE(editor->PromptSaveOnClose());
    EXPECT_TRUE(editor->document().isModified());
}

TEST_F(SaveFixture, PrintingWritesAnUnturnedPrintImageAndAsksBeforePrinting)
{
    open(samples::SampleKind::Portrait);
    const QString printImage = editor->paths().dataFolder + "/print.jpg";
    const QString message = "Upon entry into the Print Dialog:\n\n1. Clear the 'Fit Picture to Frame' checkbox\n"
                            "    to avoid menu cropping.\n\n2. Review menu image to confirm layout.\n\n";
    editor->setWhitePrint(true);
    prompter.answers = {Answer::Cancel};
    editor->PrintCommand();
    EXPECT_EQ(prompter.shown, QStringList{message});
    EXPECT_TRUE(feedback.printed.isEmpty());
    QImage image(printImage);
    EXPECT_EQ(image.size(), QSize(1080, 1920)) << "never turned";
    EXPECT_GT(BlockGrey(image, 6, 6), 245);

    editor->setWhitePrint(false);
    prompter.answers = {Answer::Ok};
    editor->PrintCommand();
    EXPECT_EQ(feedback.printed, QStringList{printImage});
    EXPECT_LT(BlockGrey(QImage(printImage), 6, 6), 245);
    EXPECT_TRUE(prompter.rotationQuestions.isEmpty());
    EXPECT_FALSE(editor->document().isModified());
}

} // namespace
} // namespace tavrin

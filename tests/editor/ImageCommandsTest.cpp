#include "images/ImportTestPictures.h"

#include "editor/ColourPalette.h"
#include "editor/Editor.h"
#include "editor/WindowTitle.h"
#include "images/ImageDecoding.h"
#include "images/ImageImport.h"
#include "images/Proxies.h"
#include "support/EditorSession.h"
#include "support/GuiApplication.h"
#include "support/ScriptedPrompter.h"
#include "support/TableControls.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using namespace test;

// Records where the file dialogs start and what they offer.
class RecordingPrompter : public ScriptedPrompter {
public:
    QStringList folders, filters;
    QString askOpenFileName(const QString &title, const QString &folder, const QString &filter) override
    {
        folders << folder;
        filters << filter;
        return ScriptedPrompter::askOpenFileName(title, folder, filter);
    }
};

const QString kUnsupported = QStringLiteral("Sorry! Tavrin does not support this image format!");

class ImageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        editor.Initialise(1733650000, 4242, nullptr);
        ASSERT_TRUE(QDir().mkpath(chosenFolder()));
    }
    QString chosenFolder() const { return data.file(QStringLiteral("pictures")); }
    QString chosen(const QString &name, const QByteArray &bytes) { return WriteBytes(chosenFolder() + '/' + name, bytes); }
    QString working(const QString &name) const { return editor.document().workingFolder() + '/' + name; }
    // A board that is a package (a new one), on a background of these bytes; returns the
    // background's path.
    QString openedPackage(const QByteArray &background = EncodeImage(Quarters(160, 90), "jpg"))
    {
        const QString path = WriteBytes(data.file(QStringLiteral("board.jpg")), background);
        EXPECT_TRUE(editor.NewLayout(path, 2, 16));
        return path;
    }

    TempDataDir data;
    TableControls controls;
    RecordingPrompter prompter;
    BoardDocument document{DataFolderPath()};
    Editor editor{controls, prompter, document};
};

TEST_F(ImageCommandsTest, LargeBackgroundOfAPackageLayoutIsDrawnFromItsProxy)
{
    const QString board = openedPackage();
    const QString picture = WriteBytes(working(QStringLiteral("Pizza.jpg")), EncodeImage(Quarters(2400, 1200), "jpg"));
    test::ChangeBoard(editor, [&](MenuLayout &board) { board.strip(1, 4).Picture.SubImageFileName = picture; });
    editor.document().markSaved();
    const QByteArray jpeg = EncodeImage(Quarters(4000, 3000), "jpg");
    const QString path = chosen(QStringLiteral("Lunch.jpg"), jpeg);
    prompter.fileNames = {path};
    editor.setWhitePrint(true);
    editor.setPaletteEntry(7);
    controls.setText(ControlId::MainItemBox, QStringLiteral("Burger"));

    editor.LoadBackgroundCommand();

    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open Menu Background jpg Image File"});
    EXPECT_EQ(prompter.filters, QStringList{"MARBIX Backgroundfile (*.jpg)"});
    EXPECT_EQ(prompter.folders, QStringList{board});
    EXPECT_TRUE(prompter.shown.isEmpty());

    EXPECT_EQ(editor.document().backgroundName(), path);
    EXPECT_EQ(editor.document().backgroundImagePath(), path);
    EXPECT_EQ(editor.document().names().layoutFolder, chosenFolder());
    EXPECT_EQ(ReadBytes(working(QStringLiteral("Background.jpg"))), jpeg);
    EXPECT_EQ(ImagePixelSize(working(QStringLiteral("Background_Proxy.jpg"))), QSize(1600, 1200));
    EXPECT_TRUE(editor.backgroundProxyInUse());
    EXPECT_TRUE(editor.pictureProxiesInUse());
    EXPECT_EQ(ImagePixelSize(working(QStringLiteral("Pizza_Proxy.jpg"))), QSize(1600, 800));
    // The renderer follows the switches: the editor's board is the proxy's size.
    EXPECT_TRUE(editor.renderer().sources.backgroundProxy);
    EXPECT_TRUE(editor.renderer().options.pictureProxies);
    EXPECT_EQ(editor.renderer().preview().boardWidth, 1600);
    EXPECT_EQ(controls.windowTitle,
              WindowTitleText(editor.document().names().layoutName) + ResolutionSuffix(4000, 3000, kDefaultDotsPerInch));

    EXPECT_FALSE(editor.whitePrintChecked());
    EXPECT_EQ(editor.paletteEntry(), kPaletteWhite);
    EXPECT_TRUE(controls.text(ControlId::MainItemBox).isEmpty());
    EXPECT_EQ(controls.text(ControlId::FontBox), editor.currentFontName());
    EXPECT_EQ(controls.focused, ControlId::MainItemBox);
    EXPECT_TRUE(controls.isEnabled(ControlId::LoadNewPicture));
    EXPECT_FALSE(controls.isEnabled(ControlId::SizeNarrower));
    EXPECT_TRUE(editor.document().isModified());

    // The next load starts where the background is.
    editor.document().markSaved();
    editor.LoadBackgroundCommand();
    EXPECT_EQ(prompter.folders.last(), path);
}

TEST_F(ImageCommandsTest, SmallBackgroundsAreDrawnInFull)
{
    // (A legacy layout's background gets no proxy whatever its size: see the proxies' tests.)
    const struct {
        QSize size;
    } cases[] = {{{1024, 768}}, {{800, 600}}};
    openedPackage();
    for (const auto &c : cases) {
        editor.document().markSaved();
        prompter.fileNames = {chosen(QStringLiteral("bg.jpg"), EncodeImage(Quarters(c.size.width(), c.size.height()), "jpg"))};
        editor.LoadBackgroundCommand();
        EXPECT_FALSE(editor.backgroundProxyInUse()) << c.size.width();
        EXPECT_FALSE(editor.pictureProxiesInUse()) << c.size.width();
        EXPECT_EQ(editor.renderer().preview().boardWidth, c.size.width());
        EXPECT_FALSE(QFileInfo::exists(working(QStringLiteral("Background_Proxy.jpg"))));
    }
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(ImageCommandsTest, CancelledLoadsChangeNothing)
{
    // Cancelled file dialog.
    editor.LoadBackgroundCommand();
    EXPECT_EQ(prompter.dialogTitles.size(), 1);
    EXPECT_TRUE(editor.document().backgroundName().isEmpty());
    EXPECT_FALSE(editor.document().isModified());
    EXPECT_FALSE(QFileInfo::exists(working(QStringLiteral("Background.jpg"))));

    // Cancelled save question: no dialog at all.
    test::MakeUnsavedChange(editor);
    prompter.answers = {Answer::Cancel};
    prompter.fileNames = {chosen(QStringLiteral("bg.jpg"), EncodeImage(Quarters(100, 100), "jpg"))};
    editor.LoadBackgroundCommand();
    EXPECT_EQ(prompter.dialogTitles.size(), 1);
    EXPECT_TRUE(editor.document().backgroundName().isEmpty());
}

// A file that cannot be copied into the working folder (here: gone since it was chosen) leaves
// the board as it was, with a message; the old background and pictures stay in use.
TEST_F(ImageCommandsTest, FilesThatCannotBeCopiedAreReportedAndChangeNothing)
{
    const QByteArray oldBackground = EncodeImage(Quarters(800, 450), "jpg");
    const QString board = openedPackage(oldBackground);
    const QString oldPicture = WriteBytes(working(QStringLiteral("Pizza.jpg")), EncodeImage(Quarters(600, 600), "jpg"));
    test::ChangeBoard(editor, [&](MenuLayout &board) { board.strip(0, 1).Picture.SubImageFileName = oldPicture; });
    editor.document().markSaved();
    const QString gone = chosenFolder() + QStringLiteral("/gone.jpg");

    prompter.fileNames = {gone};
    editor.LoadBackgroundCommand();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].contains("gone.jpg could not be copied")) << prompter.shown[0].toStdString();
    EXPECT_EQ(editor.document().backgroundName(), board);
    EXPECT_EQ(editor.document().backgroundImagePath(), board);
    EXPECT_EQ(ReadBytes(working(QStringLiteral("Background.jpg"))), oldBackground);
    EXPECT_FALSE(editor.document().isModified());

    prompter.shown.clear();
    prompter.fileNames = {gone};
    editor.LoadPictureCommand(0, 1);
    EXPECT_EQ(prompter.shown, QStringList{PictureNotCopiedMessage(gone)});
    EXPECT_EQ(editor.layout().strip(0, 1).Picture.SubImageFileName, oldPicture);
    EXPECT_FALSE(editor.document().isModified());
}

TEST_F(ImageCommandsTest, BackgroundsThatCannotBeDrawnAreReported)
{
    openedPackage();
    const QByteArray huge = WithDeclaredJpegSize(EncodeImage(Quarters(16, 16), "jpg"), 30000, 30000);
    for (const auto &[name, bytes] : {std::pair{QStringLiteral("notes.jpg"), QByteArray("plain text")},
                                      std::pair{QStringLiteral("huge.jpg"), huge}}) {
        prompter.shown.clear();
        editor.document().markSaved();
        const QString path = chosen(name, bytes);
        prompter.fileNames = {path};
        editor.LoadBackgroundCommand();
        EXPECT_EQ(prompter.shown, QStringList{kUnsupported}) << name.toStdString();
        EXPECT_EQ(editor.document().backgroundName(), path);
        EXPECT_FALSE(editor.backgroundProxyInUse());
        EXPECT_TRUE(editor.document().isModified());
    }
}

TEST_F(ImageCommandsTest, LoadPictureImportsIntoTheGivenStrip)
{
    const QString path = chosen(QStringLiteral("Fries.JPG"), EncodeImage(Quarters(400, 300), "jpg"));
    test::ChangeBoard(editor, [&](MenuLayout &board) { board.strip(1, 2).Picture.SubImageCropPercentageX = 40; });
    test::ChangeBoard(editor, [&](MenuLayout &board) { board.strip(1, 2).Picture.SubImageBrightnessFactor = 90; });
    prompter.fileNames = {path};

    editor.LoadPictureCommand(1, 2);

    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open Picture File"});
    EXPECT_EQ(prompter.filters, QStringList{"Picture*.jpg;*.jpeg;*.gif;*.png (*.jpg *.jpeg *.gif *.png)"});
    EXPECT_EQ(prompter.folders, QStringList{editor.paths().programFolder});
    EXPECT_EQ(prompter.shown, QStringList{"This 400 x 300 pixel image is low resolution and may result in the "
                                          "picture not being crisp."});
    const StripPicture &picture = editor.layout().strip(1, 2).Picture;
    EXPECT_EQ(picture.SubImageFileName, working(QStringLiteral("Fries.jpg")));
    EXPECT_EQ(picture.SubImageCropPercentageX, 100);
    EXPECT_EQ(picture.SubImageCropPercentageY, 100);
    EXPECT_EQ(picture.SubImageBrightnessFactor, 0);
    EXPECT_TRUE(QFileInfo::exists(working(QStringLiteral("Fries_Proxy.jpg"))));
    EXPECT_TRUE(editor.pictureProxiesInUse());
    EXPECT_EQ(controls.text(ControlId::ModeLabel), "EDIT MODE:  IDLE");
    EXPECT_TRUE(editor.document().isModified());

    // The next dialog starts in that folder; cancelling it changes nothing.
    editor.LoadPictureCommand(0, 0);
    EXPECT_EQ(prompter.folders.last(), chosenFolder() + '/');
    EXPECT_TRUE(editor.layout().strip(0, 0).Picture.SubImageFileName.isEmpty());
}

TEST_F(ImageCommandsTest, APictureBroughtBackByUndoOrRedoGetsItsProxyAgain)
{
    openedPackage();
    const QString picture = WriteBytes(working(QStringLiteral("Soup.png")), EncodeImage(Quarters(300, 300), "png"));
    const QString proxy = working(QStringLiteral("Soup_Proxy.png"));
    test::ChangeBoard(editor, [&](MenuLayout &board) {
        board.strip(0, 3).Picture.SubImageFileName = picture;
        board.strip(0, 3).Picture.SubImageBrightnessFactor = 255;
    });
    editor.UndoCommand();
    QFile::remove(proxy);
    editor.RedoCommand();
    EXPECT_TRUE(editor.pictureProxiesInUse());
    EXPECT_EQ(DecodeImageFile(proxy).image.pixelColor(225, 75), QColor(0, 255, 0)); // green 200 doubled and cut at 255
}

} // namespace
} // namespace tavrin

#include "SampleBoardFixture.h"

namespace tavrin {
namespace {

struct LoadNewPictureTest : test::SampleBoardFixture {
    QString photo()
    {
        QImage image(800, 600, QImage::Format_RGB32);
        image.fill(QColor(10, 150, 10));
        const QString path = data.file("camera/Salad.JPG");
        QDir().mkpath(data.file("camera"));
        image.save(path, "jpeg");
        return path;
    }
};

TEST_F(LoadNewPictureTest, ReplacesThePictureOfTheSelectedPictureStrip)
{
    editor->EnterPictureMode({1, 12});
    const int undoBefore = (editor->document().undoSteps() - 1);
    prompter.fileNames = {photo()};
    editor->LoadNewPictureButton();
    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open Picture File"});
    const StripPicture &picture = strip(1, 12).Picture;
    EXPECT_EQ(picture.SubImageFileName, editor->document().workingFolder() + "/Salad.jpg");
    EXPECT_EQ(picture.SubImageCropPercentageX, 100);
    EXPECT_TRUE(QFile::exists(editor->document().workingFolder() + "/Salad_Proxy.jpg"));
    EXPECT_EQ(editor->editMode(), EditMode::Idle);
    EXPECT_EQ(label(), "EDIT MODE:  IDLE");
    EXPECT_GT((editor->document().undoSteps() - 1), undoBefore) << "the old picture can be brought back";
    EXPECT_TRUE(editor->document().isModified());
}

TEST_F(LoadNewPictureTest, DoesNothingWithoutASelectionOrWhenCancelled)
{
    prompter.fileNames = {photo()};
    editor->LoadNewPictureButton();
    EXPECT_TRUE(prompter.dialogTitles.isEmpty());
    editor->EnterPictureMode({1, 12});
    const QString before = strip(1, 12).Picture.SubImageFileName;
    prompter.fileNames.clear();
    editor->LoadNewPictureButton();
    EXPECT_EQ(strip(1, 12).Picture.SubImageFileName, before);
}

} // namespace
} // namespace tavrin

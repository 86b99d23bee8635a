// The window's questions as a desktop user meets them: owned by the window, file dialogs that
// start in a useful folder, a result window that shows all of its text, and start-up.
#include "app/CTavrinApp.h"
#include "app/DialogFolders.h"
#include "app/QtPrompter.h"
#include "dialogs/CImageRotationSelectionDialog.h"
#include "dialogs/CSavingLayoutAndImageFilesDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"
#include "ModalDialogs.h"
#include "TestApplication.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::App;
using test::TempDataDir;
using test::WhenModal;

// Every question the window asks is owned by the window: no task bar entry of its own, no
// minimise or maximise buttons, kept above the window.
TEST(WindowQuestions, AreOwnedByTheWindow)
{
    App();
    QWidget window;
    QtPrompter prompter(&window);
    int seen = 0;
    const auto expectOwned = [&seen, &window](QWidget *dialog) {
        ++seen;
        EXPECT_EQ(dialog->parentWidget(), &window) << dialog->metaObject()->className();
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
    };
    WhenModal<QMessageBox>([&](QMessageBox *box) {
        expectOwned(box);
        EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByMouse) << "an address can be copied";
        box->accept();
    });
    prompter.showMessage("Saved");
    WhenModal<CImageRotationSelectionDialog>([&](CImageRotationSelectionDialog *dialog) {
        expectOwned(dialog);
        dialog->accept();
    });
    prompter.askTvRotation(0);
    WhenModal<CSavingLayoutAndImageFilesDialog>([&](CSavingLayoutAndImageFilesDialog *dialog) {
        expectOwned(dialog);
        dialog->okButton()->click();
    });
    prompter.showSaveResult("Layout saved");
    EXPECT_EQ(seen, 3);
}

struct DialogFolderSettings : ::testing::Test {
    TempDataDir scratch;
    void SetUp() override
    {
        App();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.file("settings"));
        QSettings().clear();
    }
};

// The open dialog never starts in the program's folder: it starts where a file was last chosen
// with it (also in a later run: the settings keep it), else in Documents or at home.
TEST_F(DialogFolderSettings, TheOpenDialogStartsInTheFolderLastUsed)
{
    const QString programFolder = QCoreApplication::applicationDirPath() + "/";
    const QString menus = scratch.file("menus");
    QDir().mkpath(menus);
    QtPrompter prompter;
    QStringList started;
    const auto cancelNoting = [&started](QFileDialog *dialog) {
        started << QDir(dialog->directory()).absolutePath();
        dialog->reject();
    };
    WhenModal<QFileDialog>(cancelNoting);
    prompter.askOpenFileName("Open MarbixLayout File", programFolder, "Layouts (*.MARBIX)");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(started.value(0), QDir(QDir(documents).exists() ? documents : QDir::homePath()).absolutePath());

    DialogFolders::Remember("Open MarbixLayout File", menus + "/Lunch_LAYOUT.MARBIX");
    WhenModal<QFileDialog>(cancelNoting);
    prompter.askOpenFileName("Open MarbixLayout File", programFolder, "Layouts (*.MARBIX)");
    EXPECT_EQ(started.value(1), menus);
    QSettings().sync();
    EXPECT_EQ(QSettings().value("dialogFolders/Open MarbixLayout File").toString(), menus) << "kept for the next run";

    // A folder the command asks for (the one last picked in this run) is taken as it is.
    EXPECT_EQ(DialogFolders::StartFolder("Open MarbixLayout File", scratch.path()), scratch.path());
    // Each dialog remembers its own folder; one that has gone is forgotten.
    EXPECT_NE(DialogFolders::StartFolder("Open Picture File", QString()), menus);
    QDir(menus).removeRecursively();
    EXPECT_NE(DialogFolders::StartFolder("Open MarbixLayout File", programFolder), menus);
}

TEST_F(DialogFolderSettings, TheSaveDialogStartsInTheFolderLastUsedWithTheProposedName)
{
    const QString saved = scratch.file("saved");
    QDir().mkpath(saved);
    DialogFolders::Remember("Save Layout", saved + "/Old_LAYOUT.MARBIX");
    QtPrompter prompter;
    QString selected;
    WhenModal<QFileDialog>([&selected](QFileDialog *dialog) {
        selected = dialog->directory().absolutePath() + "/" + dialog->selectedFiles().value(0).section('/', -1);
        dialog->reject();
    });
    prompter.askSaveFileName("Save Layout", QCoreApplication::applicationDirPath(), "Lunch_LAYOUT.MARBIX",
                             "Layouts (*.MARBIX)");
    EXPECT_EQ(selected, saved + "/Lunch_LAYOUT.MARBIX");
}

using SavingDialog = CSavingLayoutAndImageFilesDialog;

// A long layout name and the removable-drive line show whole: the window grows (never beyond
// the screen), OK stays below the text, and the pointer goes to OK where it now is.
TEST(SavingDialogGrowth, TheResultWindowGrowsToShowItsWholeText)
{
    App();
    // A smaller font than the window's own, so that the test screen (800 pixels wide) holds a
    // name wider than the template's text area.
    QFont font = SavingDialog().font();
    font.setPointSize(10);
    SavingDialog shortText;
    shortText.setFont(font);
    shortText.setMessage("Saved");
    const QString fileName = "Breakfast_Lunch_Dinner_Weekend_And_Holiday_Specials_2026_Final_LAYOUT.MARBIX";
    const QString longName = "/media/user/MENU STICK/" + fileName;
    const QString message = "The layout and the TV image were saved to the removable drive.\r\n\r\n" + longName
        + "\r\n\r\nRemove the drive safely before you take it out.\r\n" + QString("More text. ").repeated(60);
    SavingDialog longText;
    longText.setFont(font);
    longText.setMessage(message);
    longText.showCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&longText));
    QTest::qWait(20);

    const QLabel *label = longText.textControl();
    EXPECT_GT(longText.height(), shortText.height());
    EXPECT_GE(longText.width(), shortText.width());
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "no line cut off";
    const QFontMetrics metrics(label->font());
    ASSERT_GT(metrics.horizontalAdvance(fileName), shortText.textControl()->width()) << "a name wider than the template";
    EXPECT_GE(label->width(), metrics.horizontalAdvance(fileName));
    const QRect screen = longText.screen()->availableGeometry(), window = longText.geometry();
    EXPECT_TRUE(screen.contains(window)) << window.x() << "," << window.y() << " " << window.width() << "x"
                                         << window.height() << " on " << screen.width() << "x" << screen.height();
    EXPECT_GE(longText.okButton()->y(), label->geometry().bottom());
    EXPECT_EQ(QCursor::pos(), longText.okButtonCentre());

    // A short text keeps the template's size.
    shortText.showCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shortText));
    SavingDialog plain;
    plain.setFont(font);
    plain.setMessage(QString());
    EXPECT_EQ(shortText.size(), plain.size());
}

// A window manager places a new window where it likes, possibly after its first paint: the
// pointer follows OK to the window's real place.
TEST(SavingDialogGrowth, ThePointerFollowsOkWhenTheWindowIsPlacedElsewhere)
{
    App();
    SavingDialog dialog;
    dialog.setMessage("Layout saved");
    dialog.showCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.move(dialog.pos() + QPoint(40, 30));
    QApplication::processEvents();
    EXPECT_EQ(QCursor::pos(), dialog.okButtonCentre());
}

TEST(StartUpOptions, TheToolkitsOptionsAreNoFile)
{
    test::ScriptedPrompter prompter;
    const QStringList startedWithOptions[] = {
        {"tavrin", "-style", "Fusion"},
        {"tavrin", "-platform", "offscreen"},
        {"tavrin", "--style=Fusion", "-reverse"},
        {"tavrin", "-stylesheet", "menu.qss", "-qwindowgeometry", "800x600+0+0"},
    };
    for (const QStringList &arguments : startedWithOptions)
        EXPECT_FALSE(CTavrinApp::RefuseFileOnCommandLine(arguments, prompter)) << arguments.join(' ').toStdString();
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(CTavrinApp::RefuseFileOnCommandLine({"tavrin", "-style", "Fusion", "Lunch_LAYOUT.MARBIX"}, prompter));
    EXPECT_TRUE(CTavrinApp::RefuseFileOnCommandLine({"tavrin", "-unknown", "Lunch_LAYOUT.MARBIX"}, prompter));
    EXPECT_EQ(prompter.shown.size(), 2);
}

QProcessEnvironment EditorEnvironment(const QString &dataFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("TAVRIN_DATA_DIR", dataFolder);
    return environment;
}

// A display that is named but cannot be opened ends with the start-up failure message and exit
// code 0, not with the toolkit's abort.
TEST(StartUpOptions, ADisplayThatCannotBeOpenedIsAStartUpFailure)
{
    TempDataDir scratch;
    QProcess process;
    QProcessEnvironment environment = EditorEnvironment(scratch.file("data"));
    environment.insert("DISPLAY", ":6143");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    process.setProcessEnvironment(environment);
    process.start(TAVRIN_EDITOR_PATH, QStringList{});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().contains("GdiplusStartupInput error:  1"));
}

// "-platform offscreen" needs no display: the editor starts instead of refusing a file.
TEST(StartUpOptions, TheEditorStartsOnThePlatformTheCommandLineNames)
{
    TempDataDir scratch;
    QProcess process;
    process.setProcessEnvironment(EditorEnvironment(scratch.file("data")));
    process.start(TAVRIN_EDITOR_PATH, {"-platform", "offscreen", "-style", "Fusion"});
    ASSERT_TRUE(process.waitForStarted(10000));
    EXPECT_FALSE(process.waitForFinished(3000)) << process.readAllStandardError().toStdString();
    process.kill();
    process.waitForFinished(5000);
    EXPECT_TRUE(QDir(scratch.file("data")).exists()) << "the editor made its working folder";
}

} // namespace
} // namespace tavrin

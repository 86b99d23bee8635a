// The window as a desktop user meets it: keys, the menu, tooltips, dropped files, small screens.
#include "app/CTavrinDlg.h"
#include "app/DropHandling.h"
#include "editor/EditMode.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"
#include "samples/SampleBoards.h"
#include "support/EditorSession.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDataDir.h"
#include "TestApplication.h"
#include "ModalDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::App;
using test::ScriptedPrompter;
using test::TempDataDir;

struct DesktopWindow : ::testing::Test {
    TempDataDir data;
    ScriptedPrompter prompter;
    std::unique_ptr<CTavrinDlg> window;
    std::vector<int> exitCodes;

    void SetUp() override
    {
        App();
        window = std::make_unique<CTavrinDlg>(false, nullptr);
        window->usePrompter(prompter);
        window->endProcess = [this](int code) { exitCodes.push_back(code); };
        window->openUrl = [](const QUrl &) { return true; };
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QAbstractButton *button(ControlId id) { return qobject_cast<QAbstractButton *>(window->controls().widget(id)); }
    QWidget *client() { return window->controls().widget(ControlId::MainItemBox)->parentWidget(); }
    QMenu *fileMenu() { return window->findChild<QMenuBar *>()->actions().constFirst()->menu(); }

    // Counts the button's clicks in place of its command.
    std::shared_ptr<int> countClicks(ControlId id)
    {
        auto count = std::make_shared<int>(0);
        QObject::disconnect(button(id), &QAbstractButton::clicked, window.get(), nullptr);
        QObject::connect(button(id), &QAbstractButton::clicked, window.get(), [count] { ++*count; });
        return count;
    }
    // The focus on a control that is no text box.
    void focusOutsideTheTextBoxes() { window->controls().widget(ControlId::ModeLabel)->parentWidget()->setFocus(); }

    QStringList openSample(samples::SampleKind kind = samples::SampleKind::Landscape)
    {
        QString error;
        const QStringList written = samples::WriteSample(kind, data.file("menus"), &error);
        EXPECT_FALSE(written.isEmpty()) << error.toStdString();
        prompter.fileNames = {written[0]};
        button(ControlId::OpenLayout)->click();
        return written;
    }
};

TEST_F(DesktopWindow, EachKeyClicksItsButtonOnlyWhileTheButtonIsEnabled)
{
    const struct {
        QKeyCombination keys;
        ControlId button;
    } cases[] = {
        {Qt::CTRL | Qt::Key_O, ControlId::OpenLayout},
        {Qt::CTRL | Qt::Key_S, ControlId::SaveLayoutAndTvImage},
        {Qt::CTRL | Qt::Key_P, ControlId::Print},
        {Qt::CTRL | Qt::Key_Z, ControlId::Undo},
        {QKeyCombination(Qt::Key_Delete), ControlId::DeleteMenuItem},
        {Qt::CTRL | Qt::Key_Q, ControlId::Exit},
        {QKeyCombination(Qt::Key_F1), ControlId::HelpVideos},
    };
    for (const auto &c : cases) {
        const auto clicks = countClicks(c.button);
        focusOutsideTheTextBoxes();
        button(c.button)->setEnabled(true);
        QTest::keyClick(window.get(), c.keys.key(), c.keys.keyboardModifiers());
        EXPECT_EQ(*clicks, 1) << QKeySequence(c.keys).toString().toStdString();
        button(c.button)->setEnabled(false);
        QTest::keyClick(window.get(), c.keys.key(), c.keys.keyboardModifiers());
        EXPECT_EQ(*clicks, 1) << QKeySequence(c.keys).toString().toStdString() << " with the button disabled";
    }
}

// The key runs the real command: Ctrl+O shows the open dialog, Ctrl+Q asks to save and ends.
TEST_F(DesktopWindow, KeysRunTheButtonsCommands)
{
    focusOutsideTheTextBoxes();
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open MarbixLayout File"});

    test::MakeUnsavedChange(window->editor());
    prompter.answers = {Answer::No};
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(prompter.shown, QStringList{"Do you wish to save this image?"});
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(DesktopWindow, DeleteStandsForDeletePictureInPictureMode)
{
    const auto menuItem = countClicks(ControlId::DeleteMenuItem);
    const auto picture = countClicks(ControlId::DeletePicture);
    button(ControlId::DeleteMenuItem)->setEnabled(true);
    button(ControlId::DeletePicture)->setEnabled(true);
    focusOutsideTheTextBoxes();
    window->editor().EnterPictureMode({0, 0});
    QTest::keyClick(window.get(), Qt::Key_Delete);
    EXPECT_EQ(*picture, 1);
    EXPECT_EQ(*menuItem, 0);
    window->editor().EscapePressed();
    button(ControlId::DeleteMenuItem)->setEnabled(true);
    QTest::keyClick(window.get(), Qt::Key_Delete);
    EXPECT_EQ(*menuItem, 1);
}

// In a text box Delete and Ctrl+Z edit the text; keys the box has no use for still work.
TEST_F(DesktopWindow, ATextBoxKeepsItsOwnKeys)
{
    openSample();
    Editor &editor = window->editor();
    QTest::mouseClick(client(), Qt::LeftButton, {},
                      ToQRectF(editor.geometry()(0, 1).hitBoxes[MainItemGroup]).center().toPoint());
    ASSERT_EQ(editor.editMode(), EditMode::Text);
    const auto deletes = countClicks(ControlId::DeleteMenuItem);
    const auto undos = countClicks(ControlId::Undo);
    const auto saves = countClicks(ControlId::SaveLayoutAndTvImage);
    for (ControlId id : {ControlId::DeleteMenuItem, ControlId::Undo, ControlId::SaveLayoutAndTvImage})
        button(id)->setEnabled(true);
    auto *box = qobject_cast<QPlainTextEdit *>(window->controls().widget(ControlId::MainItemBox));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->toPlainText(), "lassic Burger");
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(*deletes, 0);
    EXPECT_EQ(*undos, 0);
    QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(*saves, 1);
}

TEST_F(DesktopWindow, TheMenuHasATitleAndShowsEachCommandWithItsKey)
{
    const QList<QAction *> menus = window->findChild<QMenuBar *>()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), "&File");

    QMap<QString, QString> keys;
    QList<int> commands;
    for (QAction *action : fileMenu()->actions()) {
        if (action->isSeparator())
            continue;
        keys[action->text()] = action->shortcut().toString();
        if (action->data().isValid())
            commands << action->data().toInt();
    }
    EXPECT_EQ(commands, (QList<int>{57601, 57603, 32771, 16}));
    EXPECT_EQ(keys["Save &As..."], "Ctrl+Shift+S");
    EXPECT_EQ(keys["Exit"], "") << "the menu's Exit ends at once, as it always did";
    EXPECT_EQ(keys["Open Marbix Layout File..."], "Ctrl+O");
    EXPECT_EQ(keys["Save Layout && TV Image Files"], "Ctrl+S");
    EXPECT_EQ(keys["Print..."], "Ctrl+P");
    EXPECT_EQ(keys["Undo"], "Ctrl+Z");
    EXPECT_EQ(keys["Delete Menu Item"], "Del");
    EXPECT_EQ(keys["Help Videos"], "F1");
    EXPECT_EQ(keys["Quit"], "Ctrl+Q");
}

TEST_F(DesktopWindow, EveryControlHasATooltipNamingItsKey)
{
    const QList<QWidget *> widgets = window->findChildren<QWidget *>(QRegularExpression("^control\\d+$"));
    ASSERT_GT(widgets.size(), 50);
    for (QWidget *widget : widgets) {
        const int id = widget->objectName().mid(7).toInt();
        if (id == int(ControlId::Ok) || id == int(ControlId::Cancel) || id == int(ControlId::FontBox))
            continue; // never shown
        EXPECT_FALSE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
    }
    EXPECT_TRUE(button(ControlId::OpenLayout)->toolTip().endsWith("(Ctrl+O)"));
    EXPECT_TRUE(button(ControlId::DeletePicture)->toolTip().endsWith("(Del)"));
    EXPECT_TRUE(button(ControlId::HelpVideos)->toolTip().endsWith("(F1)"));
}

// Every control lies inside the window or can be scrolled into it.
void ExpectEveryControlReachable(CTavrinDlg &window, QWidget *client)
{
    const QRect clientRect = client->rect();
    for (QWidget *widget : window.findChildren<QWidget *>(QRegularExpression("^control\\d+$"))) {
        if (widget->isHidden())
            continue;
        QWidget *content = widget->parentWidget();
        if (auto *column = qobject_cast<QScrollArea *>(content->parentWidget() ? content->parentWidget()->parentWidget() : nullptr)) {
            column->ensureWidgetVisible(widget, 0, 0);
            const QRect inView(widget->mapTo(column->viewport(), QPoint(0, 0)), widget->size());
            EXPECT_TRUE(column->viewport()->rect().contains(inView)) << widget->objectName().toStdString();
        }
        const QRect inClient(widget->mapTo(client, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(clientRect.contains(inClient))
            << widget->objectName().toStdString() << " at " << inClient.x() << "," << inClient.y() << " "
            << inClient.width() << "x" << inClient.height() << " in " << clientRect.width() << "x" << clientRect.height();
    }
}

TEST_F(DesktopWindow, InASmallWindowEveryControlCanBeScrolledIntoView)
{
    openSample();
    window->setWindowState(Qt::WindowNoState);
    // A window that fits a 1920 x 1080 screen at 200 % (960 x 540 with a title bar and a panel).
    const QSize minimum = window->minimumSize();
    EXPECT_GT(minimum.width(), 600);
    EXPECT_LE(minimum.width(), 940);
    EXPECT_LE(minimum.height(), 460);
    for (const QSize size : {QSize(1000, 650), minimum, QSize(1366, 700)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        window->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(window->size(), size);
        ExpectEveryControlReachable(*window, client());
        // The board keeps filling the room beside the column and below the text boxes.
        const QRect area = window->editor().renderer().preview().previewArea;
        const QRect prices = window->controls().controlRect(ControlId::PricesBox);
        EXPECT_TRUE(client()->rect().contains(area));
        EXPECT_FALSE(area.isEmpty());
        EXPECT_GE(area.top(), prices.bottom());
    }
}

// The window's look at its full size is unchanged: the column does not scroll and the boxes
// keep their places.
TEST_F(DesktopWindow, AtFullSizeNothingMoves)
{
    window->setWindowState(Qt::WindowNoState);
    window->resize(1400, 900);
    QApplication::processEvents();
    EXPECT_EQ(window->controls().controlRect(ControlId::MainItemBox), QRect(208, 26, 290, 84));
    EXPECT_EQ(window->controls().controlRect(ControlId::PricesBox), QRect(801, 28, 290, 44));
    auto *column = window->findChild<QScrollArea *>("controlColumn");
    ASSERT_NE(column, nullptr);
    EXPECT_FALSE(column->verticalScrollBar()->isVisible());
    EXPECT_EQ(button(ControlId::OpenLayout)->mapTo(client(), QPoint(0, 0)), QPoint(4, 4));
}

// A click on the column between its controls, or below it, is a click beside the board: the edit
// under way ends, as it did before the column could scroll.
TEST_F(DesktopWindow, AClickBetweenTheColumnsControlsIsAClickBesideTheBoard)
{
    openSample();
    Editor &editor = window->editor();
    auto *column = window->findChild<QScrollArea *>("controlColumn");
    ASSERT_NE(column, nullptr);
    const QPoint betweenRows(100, 29); // between "Open Marbix Layout File" and the save button
    ASSERT_EQ(column->widget()->childAt(betweenRows), nullptr);
    const QPoint belowTheColumn(100, column->widget()->height() + 10);
    const QPoint textBlock = ToQRectF(editor.geometry()(0, 1).hitBoxes[MainItemGroup]).center().toPoint();
    for (const auto &[widget, point] : {std::pair<QWidget *, QPoint>{column->widget(), betweenRows},
                                        std::pair<QWidget *, QPoint>{client(), belowTheColumn}}) {
        QTest::mouseClick(client(), Qt::LeftButton, {}, textBlock);
        ASSERT_EQ(editor.editMode(), EditMode::Text);
        QTest::qWait(20);
        QTest::mouseClick(widget, Qt::LeftButton, {}, point);
        EXPECT_EQ(editor.editMode(), EditMode::Idle) << point.x() << "," << point.y();
    }
}

QMimeData *FileDrag(const QString &path)
{
    // As a file manager sends it: the address as a link and as text.
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(path)});
    data->setText(QUrl::fromLocalFile(path).toString());
    return data;
}

// Sends a drag over point and, when it is accepted, the drop; returns whether it was accepted.
bool DropAt(QWidget *target, const QString &path, QPoint point)
{
    std::unique_ptr<QMimeData> data(FileDrag(path));
    QDragEnterEvent enter(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

QString WritePicture(const QString &path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 90, 40));
    EXPECT_TRUE(image.save(path, "JPG"));
    return path;
}

// A picture dropped on a strip goes in as "Load New Picture" puts it there: a copy in the
// working folder under the import's name, a proxy, the modified flag, and Undo takes it out.
TEST_F(DesktopWindow, ADroppedPictureLandsInTheStripUnderThePointer)
{
    openSample();
    Editor &editor = window->editor();
    editor.document().markSaved();
    const QString picture = WritePicture(data.file("Fresh Salad.JPEG"), QSize(640, 560));
    const QPoint emptyCell = ToQRectF(editor.geometry()(1, 5).cellRect).center().toPoint();
    ASSERT_FALSE(IsStripInUse(editor.layout().strip(1, 5)));

    ASSERT_TRUE(DropAt(client(), picture, emptyCell));
    const QString stored = editor.document().workingFolder() + "/Fresh Salad.jpg";
    EXPECT_EQ(editor.layout().strip(1, 5).Picture.SubImageFileName, stored);
    EXPECT_TRUE(QFileInfo::exists(stored));
    EXPECT_TRUE(QFileInfo::exists(editor.document().workingFolder() + "/Fresh Salad_Proxy.jpg"));
    EXPECT_TRUE(editor.document().isModified());

    // A second drop of the same name gets the import's counter.
    ASSERT_TRUE(DropAt(client(), picture, ToQRectF(editor.geometry()(0, 1).cellRect).center().toPoint()));
    EXPECT_EQ(editor.layout().strip(0, 1).Picture.SubImageFileName, editor.document().workingFolder() + "/Fresh Salad(1).jpg");

    button(ControlId::Undo)->setEnabled(true);
    button(ControlId::Undo)->click();
    EXPECT_NE(editor.layout().strip(0, 1).Picture.SubImageFileName, editor.document().workingFolder() + "/Fresh Salad(1).jpg");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.shown.join("|").toStdString();
}

TEST_F(DesktopWindow, DropsThatCannotBeTakenAreRefusedWhileDragged)
{
    const QString picture = WritePicture(data.file("salad.jpg"), QSize(640, 560));
    QFile text(data.file("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("prices");
    text.close();
    // No board open: a picture has no strip to go to.
    EXPECT_FALSE(DropAt(client(), picture, QPoint(600, 400)));

    openSample();
    EXPECT_FALSE(DropAt(client(), text.fileName(), QPoint(600, 400)));
    const QRect area = window->editor().renderer().preview().previewArea;
    EXPECT_FALSE(DropAt(client(), picture, QPoint(area.left() - 20, area.top() + 20))) << "beside the board";
    EXPECT_FALSE(DropAt(client(), data.file("missing.jpg"), area.center()));
    // A text box does not take a file as text.
    auto *box = qobject_cast<QPlainTextEdit *>(window->controls().widget(ControlId::MainItemBox));
    box->setEnabled(true);
    EXPECT_FALSE(DropAt(box->viewport(), picture, QPoint(20, 20)));
    EXPECT_EQ(window->controls().text(ControlId::MainItemBox), "");
}

// A layout or its TV image dropped anywhere opens, after the question about unsaved changes.
TEST_F(DesktopWindow, ADroppedLayoutOpensAfterTheSaveQuestion)
{
    QString error;
    const QStringList written = samples::WriteSample(samples::SampleKind::Portrait, data.file("menus"), &error);
    ASSERT_FALSE(written.isEmpty()) << error.toStdString();
    test::MakeUnsavedChange(window->editor());
    prompter.answers = {Answer::Cancel};
    ASSERT_TRUE(DropAt(client(), written[1], QPoint(700, 300)));
    EXPECT_EQ(prompter.shown, QStringList{"Do you wish to save this image?"});
    EXPECT_FALSE(window->windowTitle().contains("MarbixFile"));

    prompter.answers = {Answer::No};
    ASSERT_TRUE(DropAt(client(), written[1], QPoint(700, 300)));
    EXPECT_TRUE(window->windowTitle().contains("MarbixFile : SamplePortrait_LAYOUT.MARBIX"));
    EXPECT_TRUE(prompter.dialogTitles.isEmpty()) << "the dropped file answers the open dialog";
    // The editor asks its own questions again afterwards.
    prompter.fileNames = {};
    button(ControlId::OpenLayout)->click();
    EXPECT_EQ(prompter.dialogTitles, QStringList{"Open MarbixLayout File"});
}

TEST(DroppedFiles, AreJudgedByTheirNames)
{
    const std::pair<const char *, DroppedFileKind> cases[] = {
        {"/m/Lunch_LAYOUT.MARBIX", DroppedFileKind::Layout},
        {"/m/Lunch_TV.jpg", DroppedFileKind::Layout},
        {"/m/MarbixLayout_Lunch.XMARBIX", DroppedFileKind::Layout},
        {"/m/burger.jpg", DroppedFileKind::Picture},
        {"/m/burger.JPEG", DroppedFileKind::Picture},
        {"/m/logo.png", DroppedFileKind::Picture},
        {"/m/steam.gif", DroppedFileKind::Picture},
        {"/m/notes.txt", DroppedFileKind::Refused},
        {"/m/scan.tiff", DroppedFileKind::Refused},
        {"", DroppedFileKind::Refused},
    };
    for (const auto &[path, kind] : cases)
        EXPECT_EQ(KindOfDroppedFile(path), kind) << path;
}

TEST_F(DesktopWindow, HelpVideosWithoutABrowserGivesTheAddress)
{
    window->openUrl = [](const QUrl &) { return false; };
    button(ControlId::HelpVideos)->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].contains("https://www.tessaldesign.com/help-videos"));
}

TEST_F(DesktopWindow, TheAboutBoxIsWideEnoughForItsTitle)
{
    bool seen = false;
    test::WhenModal<QDialog>([&seen, this](QDialog *box) {
        seen = true;
        EXPECT_EQ(box->windowTitle(), "About Tavrin");
        EXPECT_EQ(box->parentWidget(), window.get());
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + 150);
        box->accept();
    });
    for (QAction *action : fileMenu()->actions())
        if (action->data().toInt() == int(MenuCommand::About))
            action->trigger();
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace tavrin

#include "dialogs/CImageRotationSelectionDialog.h"
#include "dialogs/CSavingLayoutAndImageFilesDialog.h"
#include "ModalDialogs.h"
#include "TestApplication.h"

#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

using test::App;
using test::WhenModal;
using RotationDialog = CImageRotationSelectionDialog;

// Which of NONE, CW, CCW are checked, as "100", "010", "001" (or "000").
std::string CheckedButtons(const RotationDialog &dialog)
{
    std::string checked;
    for (const QRadioButton *button :
         {dialog.noneButton(), dialog.clockwiseButton(), dialog.counterClockwiseButton()})
        checked += button->isChecked() ? '1' : '0';
    return checked;
}

enum class CloseBy { Ok, Enter, Escape, CloseBox };

void Close(RotationDialog *dialog, CloseBy how)
{
    switch (how) {
    case CloseBy::Ok:
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        break;
    case CloseBy::Enter:
        QTest::keyClick(dialog, Qt::Key_Return);
        break;
    case CloseBy::Escape:
        QTest::keyClick(dialog, Qt::Key_Escape);
        break;
    case CloseBy::CloseBox:
        dialog->close();
        break;
    }
}

TEST(RotationDialog, ShowsItsTemplateTexts)
{
    App();
    RotationDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "TV Image Rotation");
    EXPECT_EQ(dialog.explanation()->text(), "The TV Image File Rotation can be set to NONE,\n Clockwise (CW), or "
                                             "Counterclockwise (CCW)\n to accomodate portrait style menu boards.");
    EXPECT_TRUE(dialog.explanation()->alignment() & Qt::AlignHCenter);
    const QList<QGroupBox *> groups = dialog.findChildren<QGroupBox *>();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups.front()->title(), "TV Image File Rotation");
    EXPECT_EQ(dialog.noneButton()->text(), "NONE");
    EXPECT_EQ(dialog.clockwiseButton()->text(), "CW");
    EXPECT_EQ(dialog.counterClockwiseButton()->text(), "CCW");
    for (const QRadioButton *button :
         {dialog.noneButton(), dialog.clockwiseButton(), dialog.counterClockwiseButton()})
        EXPECT_EQ(button->parentWidget(), groups.front());
    EXPECT_EQ(dialog.okButton()->text(), "OK");
    EXPECT_TRUE(dialog.okButton()->isDefault());
    EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");
    dialog.show();
    EXPECT_FALSE(dialog.cancelButton()->isVisible());
    EXPECT_EQ(dialog.rotation(), 0);
    EXPECT_EQ(CheckedButtons(dialog), "100");
}

// Without a click the dialog hands back the preselected value, whichever way it is closed, and
// shows that value's button checked while it is open.
TEST(RotationDialog, ReturnsThePreselectionHoweverItIsClosed)
{
    App();
    const std::pair<int, std::string> preselections[] = {{0, "100"}, {1, "010"}, {2, "001"}, {7, "000"}};
    for (const auto &[preselected, checked] : preselections) {
        for (CloseBy how : {CloseBy::Ok, CloseBy::Enter, CloseBy::Escape, CloseBy::CloseBox}) {
            SCOPED_TRACE(testing::Message() << "preselected " << preselected << ", closed by " << int(how));
            std::string shown;
            WhenModal<RotationDialog>([&shown, how](RotationDialog *dialog) {
                shown = CheckedButtons(*dialog);
                Close(dialog, how);
            });
            EXPECT_EQ(RotationDialog::Ask(preselected), preselected);
            EXPECT_EQ(shown, checked);
        }
    }
}

// The last click decides, and closing by Escape or the close box keeps it.
TEST(RotationDialog, ReturnsTheClickedChoiceHoweverItIsClosed)
{
    App();
    struct Case {
        int preselected;
        int click; // 0 NONE, 1 CW, 2 CCW
        CloseBy how;
    };
    const Case cases[] = {
        {0, 1, CloseBy::Escape}, {0, 2, CloseBy::Ok}, {2, 0, CloseBy::CloseBox}, {1, 2, CloseBy::Enter},
        {2, 1, CloseBy::Escape},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.preselected << " -> " << c.click << ", closed by " << int(c.how));
        std::string shown;
        WhenModal<RotationDialog>([&shown, c](RotationDialog *dialog) {
            QRadioButton *buttons[] = {dialog->noneButton(), dialog->clockwiseButton(),
                                       dialog->counterClockwiseButton()};
            QTest::mouseClick(buttons[c.click], Qt::LeftButton);
            shown = CheckedButtons(*dialog);
            Close(dialog, c.how);
        });
        EXPECT_EQ(RotationDialog::Ask(c.preselected), c.click);
        std::string expected = "000";
        expected[c.click] = '1';
        EXPECT_EQ(shown, expected);
    }
}

TEST(RotationDialog, ClickingTheCheckedChoiceKeepsItChecked)
{
    App();
    RotationDialog dialog(RotationDialog::Clockwise);
    dialog.show();
    QTest::mouseClick(dialog.clockwiseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.rotation(), 1);
    EXPECT_EQ(CheckedButtons(dialog), "010");
}

// Coming back to the dialog shows the buttons as the held value says, even when their state was
// changed behind its back.
TEST(RotationDialog, ActivationShowsTheHeldChoice)
{
    App();
    RotationDialog dialog(RotationDialog::NoRotation);
    dialog.show();
    QTest::mouseClick(dialog.counterClockwiseButton(), Qt::LeftButton);
    dialog.noneButton()->setChecked(true);
    dialog.clockwiseButton()->setChecked(true);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&dialog, &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&dialog, &activate);
    EXPECT_EQ(CheckedButtons(dialog), "001");
    EXPECT_EQ(dialog.rotation(), 2);

    dialog.setRotation(1);
    EXPECT_EQ(CheckedButtons(dialog), "010");
}

using SavingDialog = CSavingLayoutAndImageFilesDialog;

QPoint FarFromOk(const SavingDialog &dialog) { return dialog.mapToGlobal(QPoint(2, 2)); }

// The result window shows its text with CR LF as a line break, has no title bar, puts the
// pointer on OK when shown and whenever the window is painted again, and returns on OK.
TEST(SavingDialog, ResultWindowShowsTheMessageAndWaitsForOk)
{
    App();
    bool checked = false;
    WhenModal<SavingDialog>([&checked](SavingDialog *dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        QTest::qWait(50);
        EXPECT_EQ(dialog->text(), "Layout saved\nTV image saved");
        EXPECT_EQ(dialog->okButton()->text(), "OK");
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowTitleHint);
        EXPECT_EQ(QCursor::pos(), dialog->okButtonCentre());

        QCursor::setPos(FarFromOk(*dialog));
        dialog->repaint();
        EXPECT_EQ(QCursor::pos(), dialog->okButtonCentre());

        // A repaint of the button alone is not a paint of the window: the pointer stays free.
        QCursor::setPos(FarFromOk(*dialog));
        dialog->okButton()->repaint();
        EXPECT_EQ(QCursor::pos(), FarFromOk(*dialog));

        // A click on the text does nothing.
        QTest::mouseClick(dialog->textControl(), Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        checked = true;
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    SavingDialog::ShowResult(QStringLiteral("Layout saved\r\nTV image saved"));
    EXPECT_TRUE(checked);
}

// A text that fits keeps the template's 235 x 132 window with its 209 x 106 text area, wrapped
// and centred. (Longer texts make the window grow: see the desktop dialog tests.)
TEST(SavingDialog, AShortMessageKeepsTheTemplatesTextArea)
{
    App();
    SavingDialog dialog;
    dialog.setMessage(QStringLiteral("Saved"));
    dialog.showCentred();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.textControl()->wordWrap());
    EXPECT_TRUE(dialog.textControl()->alignment() & Qt::AlignHCenter);
    EXPECT_NEAR(double(dialog.textControl()->width()) / dialog.width(), 209.0 / 235, 0.02);
    EXPECT_NEAR(double(dialog.textControl()->height()) / dialog.height(), 106.0 / 132, 0.02);
}

// The please-wait notice is shown without blocking, takes new text while the work goes on, and
// goes only when the caller closes it.
TEST(SavingDialog, PleaseWaitWindowStaysUntilTheCallerClosesIt)
{
    App();
    auto *notice = new SavingDialog;
    notice->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<SavingDialog> alive(notice);
    notice->showCentred();
    notice->setText(QStringLiteral("Saving to the removable drive.\r\nPlease wait."));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notice));
    EXPECT_FALSE(notice->isModal());
    EXPECT_LE((notice->frameGeometry().center() - notice->screen()->availableGeometry().center()).manhattanLength(), 4);
    EXPECT_EQ(QCursor::pos(), notice->okButtonCentre());
    QTest::qWait(300);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), "Saving to the removable drive.\nPlease wait.");
    notice->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

} // namespace
} // namespace tavrin

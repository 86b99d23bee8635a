#include "app/QtSaveFeedback.h"

#include "app/ImagePrinting.h"
#include "dialogs/CSavingLayoutAndImageFilesDialog.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace tavrin {

namespace {

// The horizontal centre of a window, four fifths of its height down, on the screen.
QPoint ProgressPointOf(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    return QPoint(frame.left() + frame.width() / 2, frame.top() + frame.height() * 4 / 5);
}

} // namespace

QtSaveFeedback::QtSaveFeedback(QWidget *window) : QObject(window), window_(window) {}

QtSaveFeedback::~QtSaveFeedback()
{
    closePleaseWait();
    setWaitCursor(false);
}

void QtSaveFeedback::setWaitCursor(bool on)
{
    if (on == waitCursorShown_)
        return;
    waitCursorShown_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtSaveFeedback::movePointerToWindowCentre()
{
    if (window_)
        QCursor::setPos(window_->frameGeometry().center());
}

void QtSaveFeedback::movePointerToProgressPoint()
{
    if (pleaseWait_)
        QCursor::setPos(ProgressPointOf(*pleaseWait_));
    else if (window_)
        QCursor::setPos(ProgressPointOf(*window_));
}

void QtSaveFeedback::showPleaseWait(const QString &text)
{
    closePleaseWait();
    pleaseWait_ = new CSavingLayoutAndImageFilesDialog(window_);
    pleaseWait_->setModal(false);
    pleaseWait_->showCentred();
    pleaseWait_->setText(text);
    // The window is painted before the long work starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtSaveFeedback::closePleaseWait()
{
    if (pleaseWait_) {
        pleaseWait_->close();
        delete pleaseWait_.data();
    }
}

void QtSaveFeedback::printImage(const QString &path) { PrintImageFile(path, window_); }

} // namespace tavrin

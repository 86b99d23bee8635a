#pragma once

#include "editor/SaveFeedback.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace tavrin {

class CSavingLayoutAndImageFilesDialog;

// The save and print commands' screen work in the real window: the wait cursor, the pointer
// moves, the please-wait window and the system print dialog. It goes with the window it is made
// for.
class QtSaveFeedback : public QObject, public SaveFeedback {
public:
    explicit QtSaveFeedback(QWidget *window);
    ~QtSaveFeedback() override;

    void setWaitCursor(bool on) override;
    void movePointerToWindowCentre() override;
    void movePointerToProgressPoint() override;
    void showPleaseWait(const QString &text) override;
    void closePleaseWait() override;
    void printImage(const QString &path) override;

private:
    QWidget *window_;
    QPointer<CSavingLayoutAndImageFilesDialog> pleaseWait_;
    bool waitCursorShown_ = false;
};

} // namespace tavrin

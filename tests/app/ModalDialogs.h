#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace tavrin::test {

// Runs act on the modal dialog of type D once the event loop of its exec() is running. A dialog
// still open ten seconds later is closed and the test fails, so a broken test ends instead of
// waiting for a click forever.
template <typename D> void WhenModal(std::function<void(D *)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog of the expected type is open";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        QTimer::singleShot(10000, dialog, [dialog] {
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->close();
            }
        });
        act(dialog);
    });
}

} // namespace tavrin::test

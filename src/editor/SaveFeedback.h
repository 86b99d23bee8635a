#pragma once

#include <QString>

namespace tavrin {

// What the save and print commands do to the screen beside asking questions: the wait cursor,
// the pointer moves, the please-wait window of a removable drive and the clock of its five-second
// minimum, the drive test and the printer. The window installs one that shows real windows;
// this base class is the stand-in for work without a window (it shows nothing, prints nothing,
// but tests the drive and keeps time for real).
class SaveFeedback {
public:
    virtual ~SaveFeedback() = default;

    virtual void setWaitCursor(bool /*on*/) {}
    // The pointer to the centre of the main window.
    virtual void movePointerToWindowCentre() {}
    // The pointer to the horizontal centre of the please-wait window, four fifths of its height
    // down; to the same point of the main window when no please-wait window is open.
    virtual void movePointerToProgressPoint() {}

    // Whether folder lies on a removable drive.
    virtual bool isRemovableDrive(const QString &folder);

    // The modeless please-wait window, centred on the screen.
    virtual void showPleaseWait(const QString & /*text*/) {}
    virtual void closePleaseWait() {}

    // A steady clock in milliseconds, for the please-wait window's minimum time.
    virtual qint64 clockMilliseconds();
    // Waits at most the given time while the windows keep painting (user input is held back).
    virtual void keepWindowsAlive(qint64 atMostMilliseconds);

    // Prints the image at path whole, aspect kept, never cropped (through the system's print
    // dialog in the window).
    virtual void printImage(const QString & /*path*/) {}
};

} // namespace tavrin

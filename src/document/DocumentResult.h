#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// Why an operation of the board document did not go through. The front ends decide from this
// value, never from the text.
enum class DocumentError {
    None,
    NoBoard,           // nothing is open
    CannotRead,        // the picked file is missing, unreadable, or not a layout
    NoWorkingFolder,   // no folder could be made for the board's files
    FontsDeclined,     // the layout needs fonts this computer lacks, and the front end declined
    WouldReplace,      // a file is at the target and the caller did not say it may be replaced
    ReadOnly,          // the target file or its folder cannot be written
    FolderInTheWay,    // a folder (or anything but a plain file) holds the target's name
    NoSuchFolder,      // the target's folder does not exist
    DiskFull,          // the disk (or the user's quota) is full
    WriteFailed,       // any other failure to write
    BadBackground,     // the background cannot be copied or drawn
    OutOfRange,        // a grid size outside 1-9 x 1-201
    NotConvertible,    // a legacy conversion that must not happen (no name of its own, a file there)
};

// The outcome of an operation: on failure the reason, the text the user sees and the file it is
// about; on success any notices the user should still read (an old-name package moved away).
struct DocumentResult {
    DocumentError error = DocumentError::None;
    QString message;     // the user-facing text of a failure
    QString file;        // the file the failure is about
    QStringList notices; // shown to the user after a success

    bool ok() const { return error == DocumentError::None; }
    explicit operator bool() const { return ok(); }

    static DocumentResult failure(DocumentError error, const QString &message, const QString &file = {})
    {
        DocumentResult result;
        result.error = error;
        result.message = message;
        result.file = file;
        return result;
    }
};

// A few words for the reason, as a failure message names it ("the folder is read-only").
QString ReasonText(DocumentError error);

} // namespace tavrin

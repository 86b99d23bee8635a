#pragma once

#include <QString>

namespace tavrin {

// A TV image opens the package saved beside it: every "_TV" becomes "_LAYOUT" and every
// ".jpg" ".MARBIX" when the path holds "_TV"; other paths come back unchanged.
QString MapTvImageToPackage(const QString &pickedPath);

// Whether a (mapped) path names a layout package: the text after its last "." is exactly
// "MARBIX". Any other spelling is read as a legacy layout document.
bool IsPackagePath(const QString &mappedPath);

// The names the editor takes from the file the user picked.
struct LayoutFileNames {
    bool isPackage = false;
    QString pickedFolder;       // folder of the mapped path, ending in "/"
    QString layoutFolder;       // the same without the final "/"
    QString layoutName;         // shown in the title; proposed again by the save dialog
    QString legacyDocumentName; // legacy layouts only: the document's own file name
    QString baseName;           // layoutName up to its last "."
    QString documentPath;       // the file that holds the layout document
};

// mappedPath is the picked path after MapTvImageToPackage; a package's document is read from
// the working folder it is unpacked into.
LayoutFileNames NamesForPickedFile(const QString &mappedPath, const QString &workingFolder);

// "Unable to open file\r\n\r\n<path>\r\n\r\nPress OK to continue."
QString UnableToOpenFileMessage(const QString &path);

} // namespace tavrin

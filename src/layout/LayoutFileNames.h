#pragma once

#include <QString>

namespace tavrin {

// A TV image opens the package saved beside it: every "_TV" of the file name becomes "_LAYOUT"
// and every ".jpg" ".MARBIX" when the file name holds "_TV"; the folders above it and other
// paths come back unchanged.
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

// The package a legacy layout document is converted to: "MarbixLayout_Lunch.XMARBIX" gives
// "Lunch_LAYOUT.MARBIX", and so does "MarbixLayout_Lunch.xmarbix" (the extension and the prefix
// are found whatever their case). Empty when the name does not end in ".XMARBIX" in some case or
// leaves no name of its own: such a document is never converted.
QString ConvertedPackageName(const QString &legacyDocumentName);

// "Unable to open file\r\n\r\n<path>\r\n\r\nPress OK to continue."
QString UnableToOpenFileMessage(const QString &path);

// The same message for a picked package that cannot be read as one (not a zip archive, no
// layout document, damaged), with the reason between the path and "Press OK to continue.".
QString NotALayoutPackageMessage(const QString &packagePath);

} // namespace tavrin

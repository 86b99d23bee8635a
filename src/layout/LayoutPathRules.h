#pragma once

#include <QString>

namespace tavrin {

// Where the files a layout document names are found once the layout is opened. Pure text
// rules, shared by the opening command and the command-line tool. Values read from a document
// may hold Windows paths: "\" and "/" both count as separators in them. The paths made here
// use "/".

// The three background paths the opening sets together.
struct BackgroundPaths {
    QString backgroundName;       // what the board shows as its background file
    QString layoutBackgroundPath; // as resolved at opening; later background loads leave it
    QString backgroundImagePath;  // the full-resolution image in use

    bool operator==(const BackgroundPaths &) const = default;
};

// A package always carries its background as "Background.jpg" in the working folder, whatever
// its document says.
BackgroundPaths PackageBackgroundPaths(const QString &workingFolder);

// A legacy layout's background, found again when the layout was moved with its support
// folder:
// - a value with a separator keeps its last folder and file name, placed below the folder the
//   user picked: C:\Old\Lunch_SupportFiles\Lunch-MARBIXBGD.jpg picked in /menus gives
//   /menus/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg;
// - a bare file name lives in the support folder named after the text before its last "-":
//   Lunch-MARBIXBGD.jpg gives layoutFolder/Lunch_SupportFiles/Lunch-MARBIXBGD.jpg.
// - a last folder of "." or ".." would lead out of the picked folder: the layout's own support
//   folder is taken instead.
// All three paths are the same. An empty value, or one whose file name is "." or "..", gives
// empty paths (no background: the board is not drawn).
BackgroundPaths LegacyBackgroundPaths(const QString &backgroundFileName, const QString &pickedFolder,
                                      const QString &layoutFolder, const QString &baseName);

// A package's picture: its file-name part in the working folder. Empty (no picture) when the
// file-name part is empty, "." or "..".
QString PackagePicturePath(const QString &workingFolder, const QString &subImageFileName);

// A legacy layout's picture: its file-name part in the layout's support folder
// (C:\Old\Lunch_SupportFiles\fish.jpg gives layoutFolder/Lunch_SupportFiles/fish.jpg), never a
// path outside the layout's folders. Empty (no picture) when the file-name part is empty, "."
// or "..".
QString LegacyPicturePath(const QString &subImageFileName, const QString &layoutFolder, const QString &baseName);

} // namespace tavrin

#pragma once

#include "layout/LayoutDocumentFile.h"

namespace tavrin {

// What opening a layout file found out besides the strips.
struct OpenedLayoutFile {
    LayoutFileNames names;
    BackgroundPaths background;
};

// The picked file's names and document text, gathered before anything of the open layout
// changes.
struct LayoutFileContents {
    LayoutFileNames names;
    QString documentText;
};

// The first half of opening a picked layout file: a TV image is mapped to its package, a package
// is unpacked into freshFolder (a new, empty folder that the caller made and removes again when
// this fails) and its document read from there; a legacy document is read where it is. Nothing
// else is touched. Returns the failure message the user sees, naming the file that was picked
// (or the package a TV image maps to), or an empty text on success.
QString LoadLayoutFileContents(const QString &pickedPath, const QString &freshFolder, LayoutFileContents &contents);

// Opens a picked layout file the way the editor's open command does, up to and including
// reading the document: LoadLayoutFileContents into workingFolder (new and empty), then the
// document is read into layout (reset first) with the package or legacy path rules. Fonts are
// not checked and nothing is normalised. Returns the failure message the user would see, or an
// empty text on success. On failure layout is unchanged.
QString OpenLayoutFile(const QString &pickedPath, const QString &workingFolder, MenuLayout &layout,
                       OpenedLayoutFile &opened);

} // namespace tavrin

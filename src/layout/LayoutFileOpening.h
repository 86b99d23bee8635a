#pragma once

#include "layout/LayoutDocumentFile.h"

namespace tavrin {

// What opening a layout file found out besides the strips.
struct OpenedLayoutFile {
    LayoutFileNames names;
    BackgroundPaths background;
};

// Opens a picked layout file the way the editor's open command does, up to and including
// reading the document: a TV image is mapped to its package, a package is unpacked into the
// (emptied) working folder, the document is read into layout (reset first) with the package or
// legacy path rules. Fonts are not checked and nothing is normalised. Returns the failure
// message the user would see, or an empty text on success. On failure layout is unchanged.
QString OpenLayoutFile(const QString &pickedPath, const QString &workingFolder, MenuLayout &layout,
                       OpenedLayoutFile &opened);

} // namespace tavrin

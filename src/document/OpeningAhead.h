#pragma once

#include "layout/LayoutFileOpening.h"

#include <QString>

#include <optional>

namespace tavrin {

// The first half of opening a picked file: a fresh folder in parentFolder, the file unpacked
// into it and its document read (LoadLayoutFileContents). Nothing of an open layout is touched.
struct PreparedOpening {
    QString folder;  // the fresh folder; empty when none could be made
    QString failure; // the message the user sees; empty when the file was read
    LayoutFileContents contents;
};
PreparedOpening PrepareOpening(const QString &pickedPath, const QString &parentFolder);

// A program that knows which file it opens next (the command line) prepares that opening on
// another thread while it starts Qt, which unpacking does not need. One opening is prepared
// ahead at a time.
void PrepareOpeningAhead(const QString &pickedPath, const QString &parentFolder);

// The opening prepared ahead for this file into this parent folder, once it is done; nullopt
// when none was. One prepared for another file is dropped.
std::optional<PreparedOpening> TakeOpeningPreparedAhead(const QString &pickedPath, const QString &parentFolder);

// Waits for an opening prepared ahead that nobody took, and removes its folder.
void DropOpeningPreparedAhead();

} // namespace tavrin

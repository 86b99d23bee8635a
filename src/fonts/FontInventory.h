#pragma once

#include "layout/FontList.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tavrin {

// The fonts a layout needs and the lists that name them.
//
// Font list (FontList): one entry per face and file it was drawn from, in the order they were
// first drawn (a face drawn in bold and italic comes with both files). A face is listed only with
// a known file. The save packs each listed file once and writes "FontFileNames.txt" from the same
// list.
//
// Missing-fonts list: face names, each followed by CR LF, in the order the opener found them.
//
// Where a face's file is found: fontconfig answers both questions (is a face drawable, which file
// holds it) directly by family name (see FontMatching.h). A font registry that keys its entries by
// face name plus style and format words ("Cubano Normal (TrueType)", "Foo Regular (TrueType)") and
// stores decorated file names ("segoeui_0.ttf") needs name adjustments to map its entries to faces
// and files; fontconfig has no such entries, so those adjustments do not exist here.

// A face's font file: full path, empty when the face is not drawable or has no file.
using FontFileLookup = std::function<QString(const QString &face)>;
// Whether a face can be drawn; an empty name counts as installed.
using FontInstalledTest = std::function<bool(const QString &face)>;

// The lookups on the system's fonts (FindFontFile and IsFontInstalled in the regular style).
// Tests pass their own to stand in for fonts being installed.
struct FontServices {
    FontInstalledTest isInstalled;
    FontFileLookup findFile;

    // The real lookups on fontconfig.
    static FontServices System();
};

// The font gathering of a render for one face drawn from the font file at path: unless the face
// is listed with that file already, copies the file into workingFolder under its own name (a file
// already there is kept; a failed copy is not reported) and lists the face with it. A face without
// a file stays out of the list. Returns true when it listed the pair.
bool GatherFontFile(FontList &fontList, const QString &face, const QString &path, const QString &workingFolder);

// The names of a missing-fonts list, in order; empty lines are skipped, and a last name without
// its CR LF still counts.
QStringList MissingFontNames(const QString &missingFontsList);

// The names joined back into a missing-fonts list: each name followed by CR LF.
QString MissingFontsListText(const QStringList &names);

// Removes the working folder's copy of a face's font file: the file in workingFolder named as
// the file the lookup gives. Nothing is removed when the face has no file or when that file is
// the very copy in the working folder (the face would be drawn from it). Returns true when a
// file was removed.
bool RemoveWorkingFontCopy(const QString &face, const QString &workingFolder, const FontFileLookup &lookup);

} // namespace tavrin

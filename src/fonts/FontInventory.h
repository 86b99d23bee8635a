#pragma once

#include "layout/FontList.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tavrin {

// The fonts a layout needs and the lists that name them.
//
// Font list (FontList): one entry per face, in the order the faces were first drawn, each with
// the file the face is drawn from. A face is listed at most once and only with a known file. The
// save packs each listed file once and writes "FontFileNames.txt" from the same list.
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

// The file lookup the font gathering of a render uses: the full path of the regular-style font
// file fontconfig matches for the face; empty when the face is not installed.
QString GatheringFontFileLookup(const QString &face);

// The font gathering of a render for one drawn face: unless the face is listed already, asks
// lookup for its file; when there is one, copies it into workingFolder under its own name (a file
// already there is kept; a failed copy is not reported) and lists the face with the file it is
// drawn from. A face without a file stays out of the list, so the next render asks again.
// Returns true when it listed the face.
bool GatherFontFile(FontList &fontList, const QString &face, const QString &workingFolder,
                    const FontFileLookup &lookup);

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

#pragma once

#include <QString>

#include <cstdint>

class QMutex;

namespace tavrin {

// Face-name lookups on fontconfig. A face counts as installed when fontconfig's best match for
// the name is a font of exactly that family (compared without regard to case), or a font that
// fontconfig's own configuration binds strongly to the name: the metric-compatible aliases
// ("Arial" drawn with "Liberation Sans", "Times New Roman" with "Liberation Serif"). A font that
// fontconfig only offers as a generic fallback ("DejaVu Sans" for an unknown name) does not count.
// The whole name is looked up, however long it is.
//
// Answers are cached per name and style; call ClearFontMatchCache after fonts were installed or
// removed (after fontconfig was made to rescan).

// An empty name counts as installed.
bool IsFontInstalled(const QString &face);

// Fonts carried in a layout package are known to fontconfig in this process but are not
// installed: these lookups leave them out.

// Full path of the font file fontconfig matches for the face in the style, when the face is
// installed (exact family or accepted alias); empty otherwise, and for an empty name.
QString FindFontFile(const QString &face, bool bold = false, bool italic = false);

// The family to draw the face with: the face's own family, or the family of its accepted alias
// ("Liberation Sans" for "Arial"); empty when the face is not installed or the name is empty.
QString ResolveDrawableFamily(const QString &face);

// What fontconfig matched for a face in a style.
struct MatchedFace {
    bool installed = false;      // exact family or accepted alias
    bool styleAvailable = false; // the matched font has the asked-for style (see below)
    QString family;              // the matched font's first family name
    QString file;                // full path of the font file
    int faceIndex = 0;           // face inside a font collection file
    bool realBold = false;       // the matched font's own face is bold (not made so)
    bool realItalic = false;     // the matched font's own face is italic or oblique
};

// Matches face in a style. A requested style is available when the best match for the family with
// that weight and slant is bold (semibold or heavier) where bold was asked for, and italic or
// oblique where italic was asked for. The regular style is whichever face the family has: a family
// whose only face is heavy ("... Black") still draws regular text.
MatchedFace MatchFace(const QString &face, bool bold, bool italic);

// The face a text in face and style is drawn with, and how it differs from what was asked:
// - an installed face of the family in the style (an accepted alias counts as the family);
// - else a carried face of the family in the style (see CarriedFontFiles.h): a carried face is
//   taken over an installed one of the same family only when the installed one lacks the style;
// - else the nearest real style of the family, installed before carried, made into the asked-for
//   one: emboldened where bold is missing, slanted where italic is (for bold italic the bold face
//   slanted first, else the italic face emboldened, else the regular face with both);
// - a family that is neither installed nor carried is drawn with the generic sans-serif family
//   the same way (otherFamily).
// Faces installed while the program runs are seen after ClearFontMatchCache.
struct ResolvedFace {
    MatchedFace match;
    bool emboldened = false; // bold asked for, drawn by emboldening a face that is not bold
    bool slanted = false;    // italic asked for, drawn by slanting an upright face
    bool carried = false;    // the file is a carried copy
    bool otherFamily = false; // the family is not there: another family stands in
};
ResolvedFace ResolveFace(const QString &face, bool bold, bool italic);

// The generic sans-serif family in a style (DejaVu Sans on a Debian system); used when a face is
// not installed or lacks the style.
MatchedFace MatchGenericSansSerif(bool bold, bool italic);

// Forgets every cached answer. Fonts installed while the program runs are seen afterwards, once
// fontconfig itself knows them (see ReloadFontConfiguration).
void ClearFontMatchCache();

// Makes fontconfig read its configuration and font folders again (a font file was copied into
// the user's font folder) and clears the cache. Returns false when fontconfig could not reload.
bool ReloadFontConfiguration();

// Held by every query on fontconfig's configuration here and by its reloading, so that no query
// runs while the configuration is replaced.
QMutex &FontConfigLock();

// Grows by one at every ClearFontMatchCache, so that caches built on these answers can tell
// that they are out of date.
std::uint64_t FontMatchGeneration();

} // namespace tavrin

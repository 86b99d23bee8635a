#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// The font files a layout package carries, made known to this process only: whatever this
// computer has installed, a board is drawn with the files it was drawn with where it was saved.
// Nothing is installed for the user.
//
// A carried face is drawn only where the installed fonts fall short: when no installed font of
// its family has the style asked for, or when the installed face lacks characters the carried
// one has (see FontMatching.h and FontFallback.h).

// One face of a carried font file.
struct CarriedFace {
    QString family;         // the family the file names itself
    QStringList listedAs;   // the face names "FontFileNames.txt" lists the file under ("Arial")
    QString styleName;      // the file's own style name ("Bold Oblique")
    bool bold = false;      // semibold or heavier
    bool italic = false;    // italic or oblique
    QString file;           // this process's copy of the file
    int faceIndex = 0;      // face inside a collection file
    QString memberName;     // the file's name in the package

    // The family, or a listed name, equals face (without regard to case).
    bool answersTo(const QString &face) const;
    // "Family" or "Family Style" for the regular style and the others.
    QString displayName() const;
};

// Registers every font file in workingFolder (a package unpacked there: its font files and its
// "FontFileNames.txt") for this process. Each file is copied first into a folder of this process
// made inside copyParent (the data folder), so that it stays readable after the working folder
// goes; a file whose bytes were registered before is not registered again. Files that are not
// fonts are skipped. Returns the faces of the folder's font files, registered now or before, in
// the order of the font list (then the other files by name); they are the current package's from
// now on. The face lookups see the new faces at once. Faces of packages registered before stay
// known: a face neither installed nor carried by the current package is still drawn from them.
std::vector<CarriedFace> RegisterCarriedFonts(const QString &workingFolder, const QString &copyParent);

// Every carried face registered so far, the most recently registered package first.
std::vector<CarriedFace> CarriedFaces();

// The families of the package registered last: where the board was saved, they drew the
// characters its faces lack, so the fallback search tries them first.
QStringList CurrentCarriedFamilies();

// Whether path is one of this process's copies of a carried file.
bool IsCarriedFontFile(const QString &path);

// Forgets the carried faces and removes this process's folder of copies (at the end of the
// process, and in tests). Faces already loaded keep their data.
void ForgetCarriedFonts();

// The carried face of that name (family or listed name) in exactly that style; the most recently
// registered first; none when there is none.
std::optional<CarriedFace> FindCarriedFace(const QString &face, bool bold, bool italic);

// The carried faces of that name in any style.
std::vector<CarriedFace> CarriedFacesNamed(const QString &face);

// Whether the carried file has every code point.
bool CarriedFaceCovers(const CarriedFace &face, const std::u32string &codePoints);

} // namespace tavrin

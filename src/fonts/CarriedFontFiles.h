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
    QString file;           // the carried file (in the working folder it was unpacked into)
    int faceIndex = 0;      // face inside a collection file
    QString memberName;     // the file's name in the package

    // The family, or a listed name, equals face (without regard to case).
    bool answersTo(const QString &face) const;
    // "Family" or "Family Style" for the regular style and the others.
    QString displayName() const;
};

// Registers every font file in workingFolder (a package unpacked there: its font files and its
// "FontFileNames.txt") for this process; they are the current package's from now on. The files
// are used where they are, for as long as they are there (the working folder of the open
// layout); nothing is copied, and a file is read only when a lookup needs its faces. Faces of
// packages registered before stay known while their files are there: a face neither installed
// nor carried by the current package is still drawn from them. The face lookups answer anew.
void RegisterCarriedFonts(const QString &workingFolder);

// Puts the carried files registered since the last call into fontconfig's set of fonts (so that
// the fallback search weighs them with the installed fonts). The fallback lookup calls it,
// holding FontConfigLock, once fontconfig's configuration is loaded.
void AddPendingCarriedFontsToFontconfig();

// Every carried face registered so far, the most recently registered package first.
std::vector<CarriedFace> CarriedFaces();

// The faces of the package registered last, in the order of its font list (then its other font
// files by name).
std::vector<CarriedFace> CurrentCarriedFaces();

// The families of the package registered last: where the board was saved, they drew the
// characters its faces lack, so the fallback search tries them first.
QStringList CurrentCarriedFamilies();

// Whether path is a carried file.
bool IsCarriedFontFile(const QString &path);

// Forgets the carried faces (at the end of the process, and in tests). Faces already loaded
// keep their data.
void ForgetCarriedFonts();

// The carried face of that name (family or listed name) in exactly that style; the most recently
// registered first; none when there is none.
std::optional<CarriedFace> FindCarriedFace(const QString &face, bool bold, bool italic);

// The carried faces of that name in any style.
std::vector<CarriedFace> CarriedFacesNamed(const QString &face);

} // namespace tavrin

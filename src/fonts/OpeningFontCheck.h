#pragma once

#include "fonts/FontInventory.h"

#include <QString>

namespace tavrin {

// The font check of opening a layout, called for every text group that names a font, in reading
// order (strips column by column; main item, sub-items, prices).
//
// A font counts as installed when the group's text is empty or the face is drawable. The first
// time an installed font is met, the working folder's copy of its font file (unpacked from the
// package) is deleted: it is not needed while the font is installed, and the next save gathers
// it again. A font that is not installed is added to the missing-fonts list once, in the order
// of first use.
//
// Fonts are compared by their whole names, so a font whose name is part of another's ("Arial" and
// "Arial Black") is still checked and listed on its own.
class OpeningFontCheck {
public:
    explicit OpeningFontCheck(const QString &workingFolder, FontServices services = FontServices::System());

    void check(const QString &font, const QString &text);

    QString missingFonts; // each name followed by CR LF
    QString handled;      // the installed fonts met so far, each followed by ","

private:
    QString workingFolder_;
    FontServices services_;
    QStringList missingNames_;
    QStringList handledNames_;
};

} // namespace tavrin

#pragma once

#include <QString>

namespace tavrin {
class BoardDocument;
}

namespace tavrin::cli {

// The command line's answer to an opened layout's missing fonts: nothing is installed and
// nobody is asked. The open has registered the package's font files for this process (see
// fonts/CarriedFontFiles.h); the list keeps the names that are neither installed nor carried,
// and the board is drawn all the same (the render's warnings name what it drew instead).
// Returns true: the open goes on.
bool UseCarriedFonts(QString &missingFontsList);

// Prints a warning on standard error naming layoutPath for each substitution of the board's last
// output render (another family, a made-up style, a character no font has).
void PrintFontWarnings(const QString &layoutPath, const BoardDocument &document);

} // namespace tavrin::cli

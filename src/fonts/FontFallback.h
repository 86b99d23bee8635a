#pragma once

#include "fonts/FontMatching.h"

#include <QString>

#include <string>

namespace tavrin {

// The face that draws characters a chosen face lacks, the way the desktop's text stacks link
// fonts: the first font, in fontconfig's order of preference for the chosen family and style,
// that has every one of the code points. Outline fonts and colour fonts (emoji) are offered,
// fonts of plain bitmaps are not. Answers are cached per family, style and code points until
// ClearFontMatchCache.
//
// Returns a face that is not installed (MatchedFace::installed false) when no font has them.
MatchedFace MatchFallbackFace(const QString &family, bool bold, bool italic, const std::u32string &codePoints);

} // namespace tavrin

#pragma once

#include <QString>

namespace tavrin {

// "3.0.1.0": the program's version as the title and the layout document show it.
QString VersionText();

// "<product> Ver <version>", followed by six blanks, "MarbixFile : " and the name when a
// name is given.
QString WindowTitleText(const QString &layoutName);

// "      Resolution: 1920 x 1080 at 72 PPI (26.7 in x 15.0 in)". A resolution of 0 or less
// counts as 96, the value for images that carry none.
QString ResolutionSuffix(int width, int height, int pixelsPerInch);

} // namespace tavrin

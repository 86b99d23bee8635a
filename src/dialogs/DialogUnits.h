#pragma once

#include <QFont>
#include <QRect>

namespace tavrin {

// Converts dialog units of a window font to pixels. A horizontal unit is a quarter of the font's
// average character width (measured over the Latin letters), a vertical unit an eighth of its
// height, so a window laid out in dialog units keeps its proportions with its font.
class DialogUnits {
public:
    explicit DialogUnits(const QFont &font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;

private:
    int baseWidth_;
    int baseHeight_;
};

} // namespace tavrin

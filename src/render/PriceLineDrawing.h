#pragma once

#include "render/PricesLayout.h"
#include "render/RenderContext.h"
#include "render/TextMeasure.h"

#include <QColor>
#include <QRectF>

class QPainter;

namespace tavrin {

// One line of a prices text to draw. Entries are taken from the end of the line: the last one is
// aligned at the anchor, each earlier one a tab width further left.
struct PriceLine {
    QString text;
    bool shadowMode = false;    // draw the shadow: every part moved right by shadowOffset
    double shadowOffset = 0.0;  // pixels
    GroupAlignment alignment = GroupAlignment::Left;
    QRectF textRect;            // supplies the top and the line height
    double anchor = 0.0;        // board pixels
    double tabWidth = 0.0;
    double calorieSpacing = 0.0;
    const TextFont *groupFont = nullptr;
    const TextFont *calorieFont = nullptr; // only for lines with a calorie marker
    QString fontName;           // the face the layout names for the prices
    QColor colour;              // the text colour, or the shadow colour
    QColor calorieColour;
    // The strip and line (0 or 1) drawn, for the record of drawn price entries.
    int column = 0;
    int row = 0;
    int lineNumber = 0;
};

// Draws one prices line and returns its box in board pixels: from the left edge of its leftmost
// part to the right edge of its rightmost one, one line high; an empty box for an empty line or
// in shadow mode. In text mode the part holding the caret is outlined, and a waiting price probe
// that falls on a part is answered (once) through context.probes.
QRectF DrawPriceLine(RenderContext &context, QPainter &painter, const PriceLine &line);

// How a group's alignment lays its text into a rectangle.
TextAlignment ToTextAlignment(GroupAlignment alignment);

} // namespace tavrin

#pragma once

#include "layout/TextGroup.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tavrin {

// The prices markup, without any drawing:
// - "^" cuts a line into price entries; the text left of a "^" is right-justified at a tab stop;
// - in a price entry, ">" makes the text right of it a calorie count, "<" the text left of it;
// - "~" marks the part the editor's caret is in; it is never drawn.
// Widths come from a measuring function (the prices font's measured width of a text).

using MeasureWidth = std::function<double(const QString &text)>;

// A group's alignment; values outside 0..2 count as left.
GroupAlignment AlignmentOf(int groupAlignment);

// The next line of a text and what remains after it: the line ends at the first CR LF, which
// is dropped; without CR LF the whole text is the line and nothing remains.
struct LineCut {
    QString line;
    QString rest;
    bool moreFollows = false; // a CR LF was found (rest may still be empty)
};
LineCut CutFirstLine(const QString &text);

// Lines of a text split at CR LF (an empty text is one empty line).
QStringList SplitLines(const QString &text);

// The column widths of the prices text that place its block (board pixels).
struct PricesMeasurement {
    double tabColumn = 0.0;   // widest tabbed width of the two lines
    double leftColumn = 0.0;  // widest text before a line's first "^" (right/centre alignment)
    double rightColumn = 0.0; // widest text after a line's last "^" (left/centre alignment)
    bool hasTab = false;      // one of the two lines holds a "^"
    int blockWidth = 0;       // integer part of the three columns together
};

// Measures the first two lines of a prices text; tabWidth and calorieSpacing in board pixels.
PricesMeasurement MeasurePrices(const QString &text, GroupAlignment alignment, double tabWidth,
                                double calorieSpacing, const MeasureWidth &width);

// What the anchor of the prices depends on. Cell values are preview pixels, as recorded by the
// grid rebuild; the anchor is in board pixels.
struct PricesAnchorInput {
    bool centerInStrip = false;
    GroupAlignment alignment = GroupAlignment::Left;
    double cellX = 0.0;      // x of the strip's cell
    double firstCellX = 0.0; // x of cell (0, 0)
    double cellWidth = 0.0;
    double scale = 1.0;      // preview pixels per board pixel
    double xOffsetFactor = 0.0;
    double xSizeFactor = 1.0;
    double xref = 0.0;
    int blockWidth = 0;
    double digitWidth = 0.0;
    bool hasTab = false;
    double rightColumn = 0.0;
};

// The x at which the last price entry of a line is aligned: the Xref point of the frame, or,
// for prices centred in the strip, a point that centres the block in the frame.
double PricesAnchor(const PricesAnchorInput &in);

// One price entry split into the part drawn in the text colour and the calorie part.
struct PriceEntryParts {
    QString left;
    QString right;
    bool rightIsCalorie = false; // else the left part is the calorie part (possibly empty)
    bool caretInRight = false;
    bool caretInLeft = false;
};

// The text after a line's last "^" (the whole line without "^").
QString LastPriceEntry(const QString &line);
// The line without its last entry (entryLength characters) and without the "^" that then end it.
QString DropLastPriceEntry(const QString &line, int entryLength);

PriceEntryParts SplitPriceEntry(const QString &entry);

// Left edges of the two parts of an entry aligned at the anchor (before padding). The pair spans
// leftWidth + calorieSpacing and the right part ends where that span ends.
struct PricePartPositions {
    double leftX = 0.0;
    double rightX = 0.0;
};
PricePartPositions PlacePriceParts(GroupAlignment alignment, double anchor, double leftWidth, double rightWidth,
                                   bool leftIsEmpty, double calorieSpacing);

} // namespace tavrin

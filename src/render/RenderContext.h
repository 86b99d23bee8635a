#pragma once

#include "layout/FontList.h"
#include "layout/StripGeometry.h"
#include "render/TextMeasure.h"
#include "render/FontUse.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>
#include <vector>

namespace tavrin {

// Where and how big the board was shown by the last refresh. Board pixels are the background
// image's pixels; preview pixels are client coordinates of the editor window.
struct PreviewGeometry {
    int boardWidth = 0;      // W
    int boardHeight = 0;     // H
    int boardResolution = 96; // vertical dots per inch of the decoded background
    // Integer rectangle in client coordinates, as (x, y, width, height): read it with x(), y(),
    // width() and height() (QRect::right() and bottom() are one pixel short of the edge).
    QRect previewArea;
    double previewScale = 1.0; // preview pixels per board pixel
    QRectF previewDestination; // where the board image was last drawn
};

// Where one price entry was drawn: its strip, its line (0 or 1), its place counted from the end
// of the line (0 is the entry at the anchor; entries without characters are not counted) and the
// box its glyphs cover, in board pixels.
struct DrawnPriceEntry {
    int column = 0;
    int row = 0;
    int line = 0;
    int fromEnd = 0;
    QRectF box;
};

// One line of text (or one price or calorie part) as a render drew it, for the board check:
// the font, text, layout rectangle and alignment it was drawn with give its glyphs back
// (TextFont::inkBox), in board pixels. A shadow is recorded apart from its text.
struct DrawnText {
    int column = 0;
    int row = 0;
    int group = 0;          // MainItemGroup, SubItemsGroup or PricesGroup
    bool calories = false;  // a calorie count of the prices
    bool shadow = false;
    QString text;
    TextFont font;
    QRectF layout;
    TextAlignment alignment = TextAlignment::Near;
    QColor colour;
};

// What the editor asks of the text drawing while it renders, and what it learns back.
struct EditorProbes {
    Colour selectionColour = kWhite; // colour of the caret rectangle around the edited price part
    // The price probe: a point in board pixels; x > 0 while a click waits to be placed on a price
    // part. The drawing sets one of the two flags and resets the point to (0, 0).
    QPointF pricePoint;
    bool rightPartHit = false;
    bool leftPartHit = false;
    // The digit-width request: while x is 0 or more, the price line drawing stores the width of
    // one digit of the prices font it draws with.
    double digitWidthRequestX = -1.0;
    double cachedDigitWidth = 0.0;
    // When set, every price entry drawn in the text colour leaves its box here (price lists and
    // their proofs outline the entries they changed).
    std::vector<DrawnPriceEntry> *drawnPriceEntries = nullptr;
    // When set, every text drawn leaves its record here (the board check measures them).
    std::vector<DrawnText> *drawnTexts = nullptr;
};


// Switches that change what a render draws.
struct RenderOptions {
    bool whitePrint = false;       // the board for white paper
    bool outputRendering = false;  // the TV image or the print image, not the screen
    bool fontGathering = false;    // collect the layout's font files while drawing
    bool pictureProxies = false;   // draw pictures from their reduced proxy files when present
    bool measuringOnly = false;    // only the texts' places are wanted: pictures are not drawn
    bool withoutText = false;      // the board as it is under its texts: backgrounds and pictures only
};

// Everything the strip drawing needs besides the strip itself. The composition owns it for one
// render; the strip drawing writes the hit boxes and price-tab widths into geometry.
struct RenderContext {
    const MenuLayout &layout;
    GeometryRecords &geometry;
    const PreviewGeometry &preview;
    RenderOptions options;
    QString workingFolder;
    // Font gathering: the list it adds to (the files the texts are drawn from).
    FontList *fontList = nullptr;
    EditorProbes *probes = nullptr;
    // Where what was drawn differently from the layout (another family, a made-up style, a
    // character no font has) is noted; null when nobody asks.
    FontSubstitutions *substitutions = nullptr;

    int boardWidth() const { return preview.boardWidth; }
    int boardHeight() const { return preview.boardHeight; }
    double scale() const { return preview.previewScale; }
};

// Opaque colour of a layout colour (0x00BBGGRR).
inline QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

} // namespace tavrin

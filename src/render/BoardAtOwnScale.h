#pragma once

#include "render/BoardRenderer.h"

#include <QImage>

#include <memory>
#include <vector>

namespace tavrin {

// The board drawn as the TV image draws it (full-resolution background, output rendering, one
// preview pixel per board pixel), with what the drawing recorded: the geometry records, the
// preview geometry and the box of every price entry drawn. Price lists and the board check
// measure boards with it, so that their boxes do not depend on a window's size.
struct BoardAtOwnScale {
    QImage board; // null when the background cannot be read
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    PreviewGeometry preview;
    std::vector<DrawnPriceEntry> priceEntries;
    std::vector<DrawnText> texts; // every text drawn, shadows included
    FontSubstitutions substitutions; // what was drawn differently from the layout

    // A rectangle of the geometry records in board pixels.
    QRectF boardBox(const RectF32 &box) const;
};

BoardAtOwnScale RenderBoardAtOwnScale(const MenuLayout &layout, const BoardSources &sources, bool whitePrint);

// The same board without any text: the background, the strips' colours and the pictures, as
// they lie under the texts. Null when the background cannot be read.
QImage RenderBoardUnderTexts(const MenuLayout &layout, const BoardSources &sources, bool whitePrint);

} // namespace tavrin

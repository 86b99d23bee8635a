#pragma once

#include "layout/StripGeometry.h"

#include <vector>

namespace tavrin {

struct CellPosition {
    int column = 0;
    int row = 0;
    bool operator==(const CellPosition &) const = default;
};

// A free cell that a move put content into, and the strip it held before (for the undo record).
struct ReplacedStrip {
    CellPosition cell;
    Strip before;
};

// Fitting the frame of a text-only strip (clear background, no picture, no border) around its
// text, from the hit boxes and cells of the last refresh. Both keep the text where it is on the
// board. A strip without drawn text is left alone.
//
// Vertical: the frame takes the height and the top of the text.
void VerticalFrameFit(MenuLayout &layout, const GeometryRecords &geometry, CellPosition cell);
// Horizontal: empty groups get the generic defaults; unless a group is centred in the strip,
// a prices-only strip whose text lies a whole cell or more to the right moves to that column,
// and the frame then spans from the cell's left edge (prices only) or the text's left edge to
// the text's right edge, plus 5 % of a cell. Returns the cell that holds the strip afterwards.
// Prices move only into a free cell; each cell moved into is added to replaced.
CellPosition HorizontalFrameFit(MenuLayout &layout, GeometryRecords &geometry, CellPosition cell,
                                std::vector<ReplacedStrip> *replaced = nullptr);

// A strip whose frame was pushed a whole cell or more away moves to the cell it now lies over
// (the first free one from there, within the grid), keeping the fraction of a cell as its
// offset. Returns the cell that holds the content afterwards; the source is reset and its
// geometry cleared when the content moved, and the cell moved into is added to replaced. Content
// never goes over a strip in use: when no free cell is found, the strip is left as it was.
CellPosition RelocateStrip(MenuLayout &layout, GeometryRecords &geometry, CellPosition cell,
                           std::vector<ReplacedStrip> *replaced = nullptr);

// The pass over the strips of a freshly opened layout: frames pushed off the board's left or top
// edge come back with their texts kept in place, text-only frames are fitted around their text,
// and content lying a whole cell away moves to the cell it lies over.
void NormaliseOpenedStrips(MenuLayout &layout, GeometryRecords &geometry);

} // namespace tavrin

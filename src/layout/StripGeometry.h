#pragma once

#include "layout/MenuLayout.h"

namespace tavrin {

// A single-precision rectangle in preview pixels: left, top, width, height.
struct RectF32 {
    float left = 0.f;
    float top = 0.f;
    float width = 0.f;
    float height = 0.f;

    bool operator==(const RectF32 &) const = default;
};

// What the renderer last computed for one store position. Hit-testing reads only these.
struct StripGeometry {
    RectF32 cellRect;
    RectF32 stripRect;
    RectF32 hitBoxes[kGroupCount]; // main item, sub-items, prices
    float priceTabWidth = 0.f;     // in pixels
};

// Geometry records for all 9 x 201 positions; not part of the layout document.
struct GeometryRecords {
    StripGeometry at[kMaxColumns][kMaxRows];

    StripGeometry &operator()(int column, int row) { return at[column][row]; }
    const StripGeometry &operator()(int column, int row) const { return at[column][row]; }
};

} // namespace tavrin

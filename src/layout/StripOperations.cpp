#include "layout/StripOperations.h"

#include <algorithm>

namespace tavrin {

int MenuLayout::boardColumns() const { return std::clamp(NumberOfColumns, 0, kMaxColumns); }
int MenuLayout::boardRows() const { return std::clamp(NumberOfRows, 0, kMaxRows); }

void ResetTextGroup(TextGroup &group) { group = TextGroup{}; }

void ResetStrip(Strip &strip)
{
    const StripPicture kept = strip.Picture;
    strip = Strip{};
    strip.Picture.SubImageCropPercentageX = kept.SubImageCropPercentageX;
    strip.Picture.SubImageCropPercentageY = kept.SubImageCropPercentageY;
    strip.Picture.SubImageCropOriginPercentageX = kept.SubImageCropOriginPercentageX;
    strip.Picture.SubImageCropOriginPercentageY = kept.SubImageCropOriginPercentageY;
    strip.Picture.SubImageBrightnessFactor = kept.SubImageBrightnessFactor;

    for (TextGroup &group : strip.Groups)
        ResetTextGroup(group);
    strip.subItems().ScaleFactor = 0.5;
    strip.subItems().Xref = 0.3;
    strip.subItems().Yref = 0.4;
    strip.prices().Xref = 0.94;
    strip.prices().GroupAlignment = int(GroupAlignment::Right);
}

void ResetAllStrips(MenuLayout &layout, Strip &workingStrip, Colour paletteColour)
{
    for (auto &column : layout.strips)
        for (Strip &strip : column)
            ResetStrip(strip);
    for (TextGroup &group : workingStrip.Groups)
        group.TextColor = paletteColour;
}

void ClearStripGeometry(GeometryRecords &geometry, int column, int row)
{
    StripGeometry &g = geometry(column, row);
    for (RectF32 &box : g.hitBoxes)
        box = RectF32{};
    g.stripRect = RectF32{};
}

void ClearAllGeometry(GeometryRecords &geometry)
{
    for (int c = 0; c < kMaxColumns; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            ClearStripGeometry(geometry, c, r);
}

bool StripHasText(const Strip &strip)
{
    return std::any_of(strip.Groups.begin(), strip.Groups.end(),
                       [](const TextGroup &g) { return !g.Text.isEmpty(); });
}

bool IsStripInUse(const Strip &strip)
{
    return StripHasText(strip) || strip.Picture.SubImageFrameIndex != 0
        || !strip.Picture.SubImageFileName.isEmpty() || !IsClear(strip.BackGroundColor);
}

void ResetEmptyGroups(Strip &strip)
{
    for (TextGroup &group : strip.Groups)
        if (group.Text.isEmpty())
            ResetTextGroup(group);
}

int SweepEmptyStrips(MenuLayout &layout, GeometryRecords &geometry)
{
    static const QString kLineBreak = QStringLiteral("\r\n");
    int resetCount = 0;
    layout.forEachBoardStrip([&](int c, int r, Strip &strip) {
        for (TextGroup &group : strip.Groups)
            if (group.Text == kLineBreak)
                group.Text.clear();
        if (StripHasText(strip))
            return;
        const StripGeometry &g = geometry(c, r);
        const bool drawnBefore = g.hitBoxes[MainItemGroup].left > 0 || g.hitBoxes[SubItemsGroup].left > 0
            || g.hitBoxes[PricesGroup].left > 0;
        const bool onlyAFrameLeft = strip.Picture.SubImageFileName.isEmpty() && IsClear(strip.BackGroundColor)
            && g.stripRect.left > 0;
        if (drawnBefore || onlyAFrameLeft) {
            ResetStrip(strip);
            ClearStripGeometry(geometry, c, r);
            ++resetCount;
        }
    });
    return resetCount;
}

void InitialiseNewEditorLayout(MenuLayout &layout, Strip &workingStrip, GeometryRecords &geometry,
                               Colour paletteColour)
{
    layout.NumberOfColumns = 2;
    layout.NumberOfRows = 16;
    layout.WhitePrintBackground = false;
    ResetAllStrips(layout, workingStrip, paletteColour);
    ResetStrip(workingStrip);
    for (TextGroup &group : workingStrip.Groups)
        group.TextColor = paletteColour;
    geometry = GeometryRecords{};
}

} // namespace tavrin

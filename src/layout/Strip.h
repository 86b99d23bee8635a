#pragma once

#include "layout/TextGroup.h"

#include <array>

namespace tavrin {

// Border styles around a picture frame, the values of StripPicture::SubImageFrameIndex.
inline constexpr const char *kPictureFrameNames[] = {
    "None",       "Black Thin", "Black Med", "Black Wide", "White Thin",
    "White Med",  "White Wide", "Grey Thin", "Grey Med",   "Grey Wide",
};
inline constexpr int kPictureFrameCount = 10;

// The picture fields of a strip, kept inside it and copied with it.
struct StripPicture {
    QString SubImageFileName;           // full path of the picture; empty = no picture
    int SubImageFrameIndex = 0;         // index into kPictureFrameNames
    int ImageHiddenOnWhite = 0;         // hidden in the white-print format
    int SubImageCropPercentageX = 0;    // 0 from construction, 100 once a picture is assigned
    int SubImageCropPercentageY = 0;
    int SubImageCropOriginPercentageX = 0;
    int SubImageCropOriginPercentageY = 0;
    int SubImageBrightnessFactor = 0;   // applied when the picture's proxy is made

    bool operator==(const StripPicture &) const = default;
};

enum GroupIndex : int { MainItemGroup = 0, SubItemsGroup = 1, PricesGroup = 2 };
inline constexpr int kGroupCount = 3;

// One cell of the board's grid. Copying a Strip copies every field by value; nothing is
// shared between two records.
struct Strip {
    Colour BackGroundColor = kClearColour;
    Colour CaloriesTextColor = kYellow;
    int CaloriesItalics = 0;
    StripPicture Picture;
    double XOffsetFactor = 0.0; // frame's left edge from the cell's, in cell widths
    double YOffsetFactor = 0.0; // frame's top edge from the cell's, in cell heights
    double XSizeFactor = 1.0;   // frame width in cell widths
    double YSizeFactor = 1.0;   // frame height in cell heights
    std::array<TextGroup, kGroupCount> Groups; // main item, sub-items, prices
    double PriceTabSpacingFactor = 8.0;
    double CaloriesSpacingFactor = 3.8;

    TextGroup &mainItem() { return Groups[MainItemGroup]; }
    TextGroup &subItems() { return Groups[SubItemsGroup]; }
    TextGroup &prices() { return Groups[PricesGroup]; }
    const TextGroup &mainItem() const { return Groups[MainItemGroup]; }
    const TextGroup &subItems() const { return Groups[SubItemsGroup]; }
    const TextGroup &prices() const { return Groups[PricesGroup]; }

    bool operator==(const Strip &) const = default;
};

} // namespace tavrin

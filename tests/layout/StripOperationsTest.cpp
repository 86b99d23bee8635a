#include "layout/StripOperations.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(StripOperations, ResetStripKeepsCropAndBrightness)
{
    Strip strip;
    strip.Picture.SubImageFileName = "/w/pizza.jpg";
    strip.Picture.SubImageCropPercentageX = 60;
    strip.Picture.SubImageCropPercentageY = 70;
    strip.Picture.SubImageCropOriginPercentageX = 5;
    strip.Picture.SubImageCropOriginPercentageY = 6;
    strip.Picture.SubImageBrightnessFactor = 7;
    strip.Picture.SubImageFrameIndex = 3;
    strip.mainItem().Text = "Burger";
    strip.BackGroundColor = kBlack;

    ResetStrip(strip);

    EXPECT_TRUE(strip.Picture.SubImageFileName.isEmpty());
    EXPECT_EQ(strip.Picture.SubImageFrameIndex, 0);
    EXPECT_EQ(strip.Picture.SubImageCropPercentageX, 60);
    EXPECT_EQ(strip.Picture.SubImageCropPercentageY, 70);
    EXPECT_EQ(strip.Picture.SubImageCropOriginPercentageX, 5);
    EXPECT_EQ(strip.Picture.SubImageCropOriginPercentageY, 6);
    EXPECT_EQ(strip.Picture.SubImageBrightnessFactor, 7);
    EXPECT_FALSE(IsStripInUse(strip));
}

}
}

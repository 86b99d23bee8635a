#include "layout/StripOperations.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

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

namespace tavrin {
namespace {

TEST(StripOperations, InUseMeansTextPictureBorderOrColour)
{
    const struct {
        const char *what;
        void (*change)(Strip &);
        bool inUse;
    } cases[] = {
        {"defaults", [](Strip &) {}, false},
        {"main text", [](Strip &s) { s.mainItem().Text = "Soup"; }, true},
        {"prices text", [](Strip &s) { s.prices().Text = "1.99"; }, true},
        {"picture", [](Strip &s) { s.Picture.SubImageFileName = "/w/a.jpg"; }, true},
        {"border only", [](Strip &s) { s.Picture.SubImageFrameIndex = 4; }, true},
        {"black background", [](Strip &s) { s.BackGroundColor = kBlack; }, true},
        // Red 0, green 0, blue 1 is the clear value itself.
        {"clear background", [](Strip &s) { s.BackGroundColor = MakeColour(0, 0, 1); }, false},
        {"only a font", [](Strip &s) { s.mainItem().Font = "DejaVu Sans"; }, false},
    };
    for (const auto &c : cases) {
        Strip strip;
        ResetStrip(strip);
        c.change(strip);
        EXPECT_EQ(IsStripInUse(strip), c.inUse) << c.what;
    }
}

TEST(StripOperations, ResetGivesThePerGroupDefaults)
{
    Strip strip;
    strip.subItems().Text = "x";
    strip.prices().Font = "Other";
    ResetStrip(strip);
    EXPECT_EQ(strip.mainItem(), TextGroup{});
    EXPECT_EQ(strip.subItems().ScaleFactor, 0.5);
    EXPECT_EQ(strip.subItems().Xref, 0.3);
    EXPECT_EQ(strip.subItems().Yref, 0.4);
    EXPECT_EQ(strip.prices().Xref, 0.94);
    EXPECT_EQ(strip.prices().GroupAlignment, 2);
    EXPECT_EQ(strip.prices().Font, "Arial");
    EXPECT_EQ(strip.CaloriesTextColor, 0x0000FFFFu);
    EXPECT_EQ(strip.PriceTabSpacingFactor, 8.0);
    EXPECT_EQ(strip.CaloriesSpacingFactor, 3.8);
    EXPECT_EQ(strip.BackGroundColor, kClearColour);

    // Empty groups go back to the generic defaults, not the per-group ones.
    strip.mainItem().Text = "Tea";
    strip.mainItem().Bold = 1;
    ResetEmptyGroups(strip);
    EXPECT_EQ(strip.mainItem().Bold, 1);
    EXPECT_EQ(strip.subItems(), TextGroup{});
    EXPECT_EQ(strip.prices(), TextGroup{});
}

TEST(StripOperations, CopiesShareNothing)
{
    Strip original;
    original.mainItem().Text = "Burger";
    Strip copy = original;
    copy.mainItem().Text += " Deluxe";
    copy.Picture.SubImageFileName = "/w/b.jpg";
    EXPECT_EQ(original.mainItem().Text, "Burger");
    EXPECT_TRUE(original.Picture.SubImageFileName.isEmpty());
}

struct SweepFixture : ::testing::Test {
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    void SetUp() override
    {
        Strip working;
        ResetAllStrips(*layout, working, kWhite);
    }
};

TEST_F(SweepFixture, RemovesStripsThatLostTheirTextButKeepsPictureAndColourStrips)
{
    // Drawn before (hit box at x > 0), now only a line break: reset.
    layout->strip(0, 0).mainItem().Text = "\r\n";
    (*geometry)(0, 0).hitBoxes[MainItemGroup] = {10, 10, 50, 20};
    // Only a border left, drawn before: reset.
    layout->strip(0, 1).Picture.SubImageFrameIndex = 2;
    (*geometry)(0, 1).stripRect = {5, 5, 100, 40};
    // A picture whose hit boxes are all zero survives.
    layout->strip(0, 2).Picture.SubImageFileName = "/w/a.jpg";
    (*geometry)(0, 2).stripRect = {5, 5, 100, 40};
    // A coloured strip without text survives although it was drawn.
    layout->strip(1, 0).BackGroundColor = kBlack;
    (*geometry)(1, 0).stripRect = {5, 5, 100, 40};
    // A strip with text is never swept.
    layout->strip(1, 1).prices().Text = "2.00";
    (*geometry)(1, 1).hitBoxes[PricesGroup] = {10, 10, 50, 20};
    // A strip of a hidden column is not the board's: it is left alone.
    layout->strip(3, 0).mainItem().Text = "\r\n";
    (*geometry)(3, 0).hitBoxes[MainItemGroup] = {10, 10, 50, 20};

    EXPECT_EQ(SweepEmptyStrips(*layout, *geometry), 2);
    EXPECT_FALSE(IsStripInUse(layout->strip(0, 0)));
    EXPECT_EQ((*geometry)(0, 0).hitBoxes[MainItemGroup], RectF32{});
    EXPECT_FALSE(IsStripInUse(layout->strip(0, 1)));
    EXPECT_EQ((*geometry)(0, 1).stripRect, RectF32{});
    EXPECT_TRUE(IsStripInUse(layout->strip(0, 2)));
    EXPECT_TRUE(IsStripInUse(layout->strip(1, 0)));
    EXPECT_EQ(layout->strip(1, 1).prices().Text, "2.00");
    EXPECT_EQ(layout->strip(3, 0).mainItem().Text, "\r\n");
}

TEST_F(SweepFixture, HiddenColumnsKeepTheirStripsUntilShownAgain)
{
    layout->NumberOfColumns = 3;
    layout->strip(2, 5).mainItem().Text = "Pie";
    layout->NumberOfColumns = 2;
    int visited = 0;
    layout->forEachBoardStrip([&](int c, int, const Strip &) { visited += c == 2; });
    EXPECT_EQ(visited, 0);
    layout->NumberOfColumns = 3;
    EXPECT_EQ(layout->strip(2, 5).mainItem().Text, "Pie");
    // Counts beyond the store never reach past it; counts of 0 or below give an empty board.
    layout->NumberOfColumns = 40;
    layout->NumberOfRows = 1000;
    EXPECT_EQ(layout->boardColumns(), kMaxColumns);
    EXPECT_EQ(layout->boardRows(), kMaxRows);
    layout->NumberOfColumns = -3;
    EXPECT_EQ(layout->boardColumns(), 0);
}

TEST(StripOperations, ClearingGeometryKeepsCellsAndPriceTabs)
{
    auto geometry = std::make_unique<GeometryRecords>();
    StripGeometry &g = (*geometry)(8, 200);
    g.cellRect = {1, 2, 3, 4};
    g.stripRect = {1, 2, 3, 4};
    g.hitBoxes[PricesGroup] = {1, 2, 3, 4};
    g.priceTabWidth = 42;
    ClearAllGeometry(*geometry);
    EXPECT_EQ(g.cellRect, (RectF32{1, 2, 3, 4}));
    EXPECT_EQ(g.priceTabWidth, 42);
    EXPECT_EQ(g.stripRect, RectF32{});
    EXPECT_EQ(g.hitBoxes[PricesGroup], RectF32{});
}

} // namespace
} // namespace tavrin

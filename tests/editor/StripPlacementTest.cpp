#include "document/StripPlacement.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tavrin {
namespace {

// A 2 x 16 board shown with cells of 500 x 125 preview pixels from (101, 51).
struct PlacementFixture : ::testing::Test {
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();

    void SetUp() override
    {
        Strip working;
        ResetAllStrips(*layout, working, kWhite);
        PreviewGeometry preview;
        preview.previewArea = QRect(100, 50, 1000, 2000);
        preview.previewScale = 0.5;
        RebuildGrid(*layout, preview, *geometry);
    }
    Strip &strip(int c, int r) { return layout->strip(c, r); }
    Strip &textStrip(int c, int r, const char *text = "Soup")
    {
        strip(c, r).mainItem().Text = text;
        return strip(c, r);
    }
};

TEST_F(PlacementFixture, RelocationMovesContentToTheCellItLiesOver)
{
    const struct {
        const char *what;
        double xOffset, yOffset;
        CellPosition from;
        std::vector<CellPosition> occupied;
        CellPosition to;
        double xAfter, yAfter;
    } cases[] = {
        {"2.3 rows down", 0, 2.3, {0, 1}, {}, {0, 3}, 0, 0.3},
        {"2.3 rows down onto a strip in use", 0, 2.3, {0, 1}, {{0, 3}}, {0, 4}, 0, -0.7},
        {"below the grid", 0, 15.5, {0, 1}, {}, {0, 1}, 0, 15.5},
        {"1.4 cells right", 1.4, 0, {0, 5}, {}, {1, 5}, 0.4, 0},
        // 0.998 is a whole cell to the right, but the -0.002 left over takes it back again.
        {"0.998 of a cell", 0.998, 0, {0, 5}, {}, {0, 5}, 0.998, 0},
        {"a little left of column 1", -0.2, 0, {1, 5}, {}, {0, 5}, 0.8, 0},
        {"left onto a strip in use goes a row down", -0.2, 0, {1, 5}, {{0, 5}}, {0, 6}, 0.8, -1.0},
        {"half a cell right stays", 0.5, 0, {0, 5}, {}, {0, 5}, 0.5, 0},
        {"past the last column stays as it was", 2.5, 0, {0, 5}, {}, {0, 5}, 2.5, 0},
        {"not a number", NAN, 0, {0, 5}, {}, {0, 5}, NAN, 0},
    };
    for (const auto &c : cases) {
        SetUp();
        for (CellPosition p : c.occupied)
            textStrip(p.column, p.row, "Other");
        Strip &source = textStrip(c.from.column, c.from.row);
        source.XOffsetFactor = c.xOffset;
        source.YOffsetFactor = c.yOffset;
        const CellPosition result = RelocateStrip(*layout, *geometry, c.from);
        EXPECT_EQ(result, c.to) << c.what;
        const Strip &moved = strip(result.column, result.row);
        EXPECT_EQ(moved.mainItem().Text, "Soup") << c.what;
        if (!std::isnan(c.xAfter)) {
            EXPECT_NEAR(moved.XOffsetFactor, c.xAfter, 1e-9) << c.what;
        }
        EXPECT_NEAR(moved.YOffsetFactor, c.yAfter, 1e-9) << c.what;
        if (!(result == c.from)) {
            EXPECT_FALSE(IsStripInUse(strip(c.from.column, c.from.row))) << c.what;
        }
    }
}

TEST_F(PlacementFixture, RelocationNeverOverwritesAStripInUseAndChangesNothingWithoutAFreeCell)
{
    const auto column = [](int c, int from, int to) {
        std::vector<CellPosition> cells;
        for (int r = from; r <= to; ++r)
            cells.push_back({c, r});
        return cells;
    };
    // Rows from..to of column c, leaving out one row.
    const auto rowsAround = [&](int c, int from, int skipped, int to) {
        std::vector<CellPosition> cells = column(c, from, to);
        cells.erase(cells.begin() + (skipped - from));
        return cells;
    };
    const struct {
        const char *what;
        double xOffset, yOffset;
        CellPosition from;
        std::vector<CellPosition> occupied;
        CellPosition to;
        double xAfter, yAfter;
    } cases[] = {
        // Pushed a whole cell left over the strip beside it: there is no free cell further left.
        {"a cell left onto a strip in use", -1.05, 0, {1, 2}, {{0, 2}}, {1, 2}, -1.05, 0},
        {"a cell left onto a free cell", -1.05, 0, {1, 2}, {}, {0, 2}, -0.05, 0},
        // Partly over a column that is full down to the last row.
        {"partly left over a full column", -0.57, 0, {1, 5}, column(0, 5, 15), {1, 5}, -0.57, 0},
        // A whole cell right in a row whose other cell is in use.
        {"a cell right in a full row", 1.3, 0, {0, 5}, {{1, 5}}, {0, 5}, 1.3, 0},
        // Up onto a used row: the search down from there ends at the strip's own row.
        {"up onto used rows", 0, -1.5, {1, 8}, rowsAround(1, 7, 8, 13), {1, 8}, 0, -1.5},
    };
    for (const auto &c : cases) {
        SetUp();
        for (CellPosition p : c.occupied)
            textStrip(p.column, p.row, "Other");
        Strip &source = textStrip(c.from.column, c.from.row);
        source.XOffsetFactor = c.xOffset;
        source.YOffsetFactor = c.yOffset;
        std::vector<ReplacedStrip> replaced;
        const CellPosition result = RelocateStrip(*layout, *geometry, c.from, &replaced);
        EXPECT_EQ(result, c.to) << c.what;
        const Strip &moved = strip(result.column, result.row);
        EXPECT_EQ(moved.mainItem().Text, "Soup") << c.what;
        EXPECT_NEAR(moved.XOffsetFactor, c.xAfter, 1e-9) << c.what;
        EXPECT_NEAR(moved.YOffsetFactor, c.yAfter, 1e-9) << c.what;
        for (CellPosition p : c.occupied)
            EXPECT_EQ(strip(p.column, p.row).mainItem().Text, "Other") << c.what;
        EXPECT_EQ(replaced.size(), result == c.from ? 0u : 1u) << c.what;
    }
}

TEST_F(PlacementFixture, VerticalFitTakesTheTextsHeightAndKeepsTheTextInPlace)
{
    Strip &s = textStrip(0, 1);
    s.mainItem().Yref = 0.5;
    s.YOffsetFactor = 0.1;
    (*geometry)(0, 1).hitBoxes[MainItemGroup] = {150, 176 + 25, 200, 50}; // 0.2 cells below the cell top
    VerticalFrameFit(*layout, *geometry, {0, 1});
    EXPECT_NEAR(s.YSizeFactor, 0.4, 1e-6);
    EXPECT_NEAR(s.YOffsetFactor, 0.2, 1e-6);
    // The frame moved down by 0.1, the text up by as much within it.
    EXPECT_NEAR(s.YOffsetFactor + s.mainItem().Yref, 0.1 + 0.5, 1e-6);

    // A strip with a colour keeps its frame.
    Strip &coloured = textStrip(1, 1);
    coloured.BackGroundColor = kBlack;
    (*geometry)(1, 1).hitBoxes[MainItemGroup] = {650, 201, 200, 50};
    VerticalFrameFit(*layout, *geometry, {1, 1});
    EXPECT_EQ(coloured.YSizeFactor, 1.0);
}

TEST_F(PlacementFixture, HorizontalFitSpansTheTextPlusAMargin)
{
    Strip &s = textStrip(0, 2);
    s.mainItem().Xref = 0.2;
    s.subItems().Font = "Other"; // empty group: back to the generic defaults
    (*geometry)(0, 2).hitBoxes[MainItemGroup] = {151, 301, 200, 50};
    EXPECT_EQ(HorizontalFrameFit(*layout, *geometry, {0, 2}), (CellPosition{0, 2}));
    EXPECT_NEAR(s.XOffsetFactor, 0.1, 1e-6);
    EXPECT_NEAR(s.XSizeFactor, 0.45, 1e-6);
    EXPECT_NEAR(s.mainItem().Xref, 0.1, 1e-6);
    EXPECT_EQ(s.subItems(), TextGroup{});
}

TEST_F(PlacementFixture, PricesPushedIntoTheNextColumnMoveThere)
{
    Strip &s = strip(0, 3);
    s.prices().Text = "4.99";
    s.prices().Xref = 1.5;
    s.XSizeFactor = 2.0;
    (*geometry)(0, 3).hitBoxes[PricesGroup] = {651, 426, 100, 50}; // over column 1
    EXPECT_EQ(HorizontalFrameFit(*layout, *geometry, {0, 3}), (CellPosition{1, 3}));
    EXPECT_FALSE(IsStripInUse(strip(0, 3)));
    const Strip &moved = strip(1, 3);
    EXPECT_NEAR(moved.prices().Xref, 0.5, 1e-6);
    EXPECT_NEAR(moved.XOffsetFactor, 0.0, 1e-6);
    // The frame spans from the cell's left edge to the prices' right edge, plus 5 %.
    EXPECT_NEAR(moved.XSizeFactor, 150.0 / 500 + 0.05, 1e-6);
}

TEST_F(PlacementFixture, PricesStayInTheirOwnStripBesideAStripInUse)
{
    Strip &s = strip(0, 3);
    s.prices().Text = "4.99";
    s.prices().Xref = 1.5;
    s.XSizeFactor = 2.0;
    strip(1, 3).BackGroundColor = kBlack;
    (*geometry)(0, 3).hitBoxes[PricesGroup] = {651, 426, 100, 50}; // over column 1
    std::vector<ReplacedStrip> replaced;
    EXPECT_EQ(HorizontalFrameFit(*layout, *geometry, {0, 3}, &replaced), (CellPosition{0, 3}));
    EXPECT_EQ(strip(0, 3).prices().Text, "4.99");
    EXPECT_TRUE(strip(1, 3).prices().Text.isEmpty());
    EXPECT_EQ(strip(1, 3).BackGroundColor, kBlack);
    EXPECT_TRUE(replaced.empty());
}

TEST_F(PlacementFixture, CentredTextKeepsItsFrame)
{
    Strip &s = textStrip(0, 4);
    s.mainItem().CenterInStrip = 1;
    (*geometry)(0, 4).hitBoxes[MainItemGroup] = {151, 551, 200, 50};
    HorizontalFrameFit(*layout, *geometry, {0, 4});
    EXPECT_EQ(s.XSizeFactor, 1.0);
    EXPECT_EQ(s.XOffsetFactor, 0.0);
}

} // namespace
} // namespace tavrin

namespace tavrin {
namespace {

TEST_F(PlacementFixture, OpeningBringsFramesBackOntoTheBoardWithTheirTextInPlace)
{
    Strip &s = textStrip(0, 2);
    s.XOffsetFactor = -0.2;
    s.mainItem().Xref = 0.1;
    s.BackGroundColor = kBlack; // keeps its frame: only the offset moves into the text
    NormaliseOpenedStrips(*layout, *geometry);
    EXPECT_EQ(s.XOffsetFactor, 0.0);
    EXPECT_NEAR(s.mainItem().Xref, -0.1, 1e-9);
    EXPECT_EQ(s.mainItem().Text, "Soup");
}

} // namespace
} // namespace tavrin

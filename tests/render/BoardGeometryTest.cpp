#include "render/BoardGeometry.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

TEST(BoardGeometry, BoardFitsThePreviewRegion)
{
    const struct {
        QRect region;
        int width, height;
        QRect area;
        double scale;
    } cases[] = {
        // Small enough: one preview pixel per board pixel, top-left aligned, not stretched.
        {QRect(208, 134, 1200, 700), 1024, 600, QRect(208, 134, 1024, 600), 1.0},
        // Limited by the width: centred vertically (d = (800 - 666) / 2 = 67).
        {QRect(0, 0, 1000, 800), 3000, 2000, QRect(0, 67, 1000, 666), 1000.0 / 3000},
        // Portrait, limited by the height: left-aligned at the region's edge.
        {QRect(10, 20, 1000, 800), 1080, 1920, QRect(10, 20, 450, 800), 450.0 / 1080},
        // Exactly as wide as the region counts as not fitting: scaled (here by 1).
        {QRect(0, 0, 1920, 1200), 1920, 1080, QRect(0, 60, 1920, 1080), 1.0},
    };
    for (const auto &c : cases) {
        const QRect area = FitPreviewArea(c.region, c.width, c.height);
        EXPECT_EQ(area, c.area) << c.width << "x" << c.height;
        EXPECT_DOUBLE_EQ(double(area.width()) / c.width, c.scale);
    }
}

TEST(BoardGeometry, PreviewRegionHangsBelowTheMainItemBox)
{
    EXPECT_EQ(PreviewRegion(QSize(1280, 760), QRect(208, 26, 290, 84)), QRect(208, 134, 1072, 606));
    EXPECT_EQ(PreviewRegion(QSize(800, 600), std::nullopt), QRect(0, 0, 800, 600));
}

struct GridFixture : ::testing::Test {
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    PreviewGeometry preview;

    // A 2000 x 1000 board shown at half size at (100, 50).
    void SetUp() override
    {
        layout->NumberOfColumns = 2;
        layout->NumberOfRows = 4;
        preview.boardWidth = 2000;
        preview.boardHeight = 1000;
        preview.previewArea = QRect(100, 50, 1000, 500);
        preview.previewScale = 0.5;
    }
};

TEST_F(GridFixture, CellsAreLaidEdgeToEdgeFromOnePixelInside)
{
    geometry->at[5][7].cellRect = {1, 2, 3, 4}; // outside the grid: emptied
    EXPECT_EQ(RebuildGrid(*layout, preview, *geometry), 8);
    EXPECT_EQ((*geometry)(0, 0).cellRect, (RectF32{101, 51, 500, 125}));
    EXPECT_EQ((*geometry)(1, 3).cellRect, (RectF32{601, 426, 500, 125}));
    EXPECT_EQ(geometry->at[5][7].cellRect, RectF32{});
}

TEST_F(GridFixture, FramesFollowTheirFactorsIntoNeighbouringCells)
{
    RebuildGrid(*layout, preview, *geometry);
    Strip &strip = layout->strip(0, 1);
    strip.XOffsetFactor = 0.5; // reaches half into column 1
    strip.YOffsetFactor = -0.2;
    strip.YSizeFactor = 2.0;
    EXPECT_EQ(FrameRect(*layout, *geometry, preview, 0, 1), QRectF(500, 200, 1000, 500));
    EXPECT_EQ(FrameRectOnPreview(*layout, *geometry, 0, 1), QRectF(351, 151, 500, 250));
    // With the defaults the frame is exactly the cell.
    EXPECT_EQ(FrameRect(*layout, *geometry, preview, 1, 3), QRectF(1000, 750, 1000, 250));
    // A cell outside the grid has no size.
    EXPECT_TRUE(FrameRect(*layout, *geometry, preview, 4, 0).isEmpty());
}

} // namespace
} // namespace tavrin

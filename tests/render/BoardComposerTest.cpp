#include "layout/StripOperations.h"
#include "render/BoardComposer.h"
#include "render/BoardGeometry.h"
#include "render/BoardRenderer.h"
#include "support/GuiApplication.h"
#include "support/QtPrinters.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

const QColor kBackground(100, 100, 100);

bool Near(QRgb pixel, QColor expected, int tolerance = 16)
{
    return std::abs(qRed(pixel) - expected.red()) <= tolerance && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
}

// A 400 x 200 grey board with a 2 x 2 grid (cells of 200 x 100), shown at half size.
struct ComposeFixture : ::testing::Test {
    QTemporaryDir folder;
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    BoardRenderer renderer{*layout, *geometry};
    const QRect region{50, 30, 200, 150}; // board limited by the width: 200 x 100, scale 0.5

    void SetUp() override
    {
        test::EnsureGuiApplication();
        QImage background(400, 200, QImage::Format_RGB32);
        background.fill(kBackground);
        ASSERT_TRUE(background.save(path("Background.png")));
        Strip working;
        ResetAllStrips(*layout, working, kWhite);
        layout->NumberOfColumns = 2;
        layout->NumberOfRows = 2;
        renderer.sources.backgroundName = "Background.png";
        renderer.sources.backgroundImagePath = path("Background.png");
        renderer.sources.workingFolder = folder.path();
    }
    QString path(const QString &name) const { return folder.filePath(name); }
    QString picture(const QString &name, QColor colour)
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path(name));
        return path(name);
    }
    // The full rebuild: geometry, grid, then the drawing.
    QImage render()
    {
        EXPECT_TRUE(renderer.refresh(region, false, true));
        RebuildGrid(*layout, renderer.preview(), *geometry);
        EXPECT_TRUE(renderer.refresh(region, false, false));
        return renderer.shownBoard();
    }
};

TEST_F(ComposeFixture, BackdropsFillTheirFramesAndRecordStripRectangles)
{
    layout->strip(1, 0).BackGroundColor = MakeColour(200, 0, 0);
    const QImage board = render();
    EXPECT_EQ(renderer.preview().previewArea, QRect(50, 55, 200, 100));
    EXPECT_TRUE(Near(board.pixel(300, 50), QColor(200, 0, 0)));
    EXPECT_TRUE(Near(board.pixel(100, 50), kBackground));
    EXPECT_TRUE(Near(board.pixel(300, 150), kBackground));
    // The strip rectangle is the frame grown by a pixel, in preview pixels.
    const RectF32 strip = (*geometry)(1, 0).stripRect;
    EXPECT_NEAR(strip.left, 50 + 199 * 0.5, 0.6);
    EXPECT_NEAR(strip.top, 55 - 0.5, 0.6);
    EXPECT_NEAR(strip.width, 202 * 0.5, 0.6);
}

TEST_F(ComposeFixture, StripsWithoutPicturesCoverPictureStripsAndLogosCoverEverything)
{
    Strip &pictureStrip = layout->strip(0, 0);
    pictureStrip.Picture.SubImageFileName = picture("dish.png", QColor(0, 0, 220));
    pictureStrip.Picture.SubImageCropPercentageX = pictureStrip.Picture.SubImageCropPercentageY = 100;
    pictureStrip.XSizeFactor = 2.0; // reaches over the second column
    layout->strip(1, 0).BackGroundColor = MakeColour(0, 200, 0);

    QImage board = render();
    EXPECT_TRUE(Near(board.pixel(100, 50), QColor(0, 0, 220)));
    EXPECT_TRUE(Near(board.pixel(300, 50), QColor(0, 200, 0))) << "the coloured strip is drawn after the picture";

    pictureStrip.Picture.SubImageFileName = picture("house_logo.png", QColor(0, 0, 220));
    board = render();
    EXPECT_TRUE(Near(board.pixel(300, 50), QColor(0, 0, 220))) << "a logo is drawn again on top";
}

TEST_F(ComposeFixture, WhitePrintDrawsForPaper)
{
    layout->strip(1, 0).BackGroundColor = MakeColour(200, 0, 0);
    Strip &hidden = layout->strip(0, 1);
    hidden.Picture.SubImageFileName = picture("dish.png", QColor(0, 0, 220));
    hidden.Picture.SubImageCropPercentageX = hidden.Picture.SubImageCropPercentageY = 100;
    hidden.Picture.ImageHiddenOnWhite = 1;
    hidden.Picture.SubImageFrameIndex = 6; // white wide: not drawn at all for a hidden picture
    Strip &shown = layout->strip(1, 1);
    shown.Picture.SubImageFileName = picture("soup.png", QColor(0, 180, 0));
    shown.Picture.SubImageCropPercentageX = shown.Picture.SubImageCropPercentageY = 100;

    renderer.options.whitePrint = true;
    const QImage board = render();
    EXPECT_TRUE(Near(board.pixel(20, 20), Qt::white)) << "the board is white, not the background";
    EXPECT_TRUE(Near(board.pixel(300, 50), Qt::white)) << "strip colours are not filled";
    EXPECT_TRUE(Near(board.pixel(100, 150), Qt::white)) << "pictures hidden on white are not drawn";
    EXPECT_TRUE(Near(board.pixel(300, 150), QColor(0, 180, 0))) << "other pictures are";
}

TEST_F(ComposeFixture, GeometryOnlyRefreshDrawsNothingAndABrokenBackgroundFails)
{
    EXPECT_TRUE(renderer.refresh(region, false, true));
    EXPECT_TRUE(renderer.shownBoard().isNull());
    EXPECT_DOUBLE_EQ(renderer.preview().previewScale, 0.5);

    renderer.sources.backgroundImagePath = picture("not-an-image.txt", Qt::black) + ".missing";
    EXPECT_FALSE(renderer.refresh(region, false, false));

    // Nothing loaded: nothing drawn, and that is not a failure.
    renderer.sources.backgroundName.clear();
    EXPECT_TRUE(renderer.refresh(region, false, false));
}

TEST(LogoPictures, AreNamedSo)
{
    EXPECT_TRUE(IsLogoPicture("/w/house_logo.png"));
    EXPECT_TRUE(IsLogoPicture("C:\\Menus\\Logo.jpg"));
    EXPECT_TRUE(IsLogoPicture("/w/symbol.gif"));
    EXPECT_FALSE(IsLogoPicture("/w/LOGO.png"));
    EXPECT_FALSE(IsLogoPicture("/logo/dish.png")); // only the file name counts
}

} // namespace
} // namespace tavrin

namespace tavrin {
namespace {

TEST_F(ComposeFixture, TheBackgroundIsReadOnceAfterItIsLoaded)
{
    EXPECT_FALSE(renderer.backgroundReading());
    renderer.backgroundReadingPending = true;
    render();
    EXPECT_FALSE(renderer.backgroundReadingPending);
    ASSERT_TRUE(renderer.backgroundReading());
    EXPECT_EQ(renderer.backgroundReading()->size, QSize(400, 200));
    EXPECT_EQ(renderer.backgroundReading()->pixelsPerInch, 96);
}

} // namespace
} // namespace tavrin

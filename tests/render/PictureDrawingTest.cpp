#include "render/PictureDrawing.h"
#include "support/TempDataDir.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tavrin {
namespace {

const QColor kBoardColour(0, 0, 200);

// Whether two colours agree within a tolerance on every channel.
::testing::AssertionResult ColourNear(const QColor &actual, const QColor &expected, int tolerance)
{
    const int worst = std::max({std::abs(actual.red() - expected.red()), std::abs(actual.green() - expected.green()),
                                std::abs(actual.blue() - expected.blue())});
    if (worst <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour " << actual.name().toStdString() << " instead of "
                                         << expected.name().toStdString();
}

// A picture of four vertical quarters: red, green, blue, yellow on the top half, the same at
// half intensity on the bottom half, so that every crop shows which part was drawn.
QColor QuarterColour(char code)
{
    switch (code) {
    case 'R': return QColor(255, 0, 0);
    case 'G': return QColor(0, 255, 0);
    case 'B': return QColor(0, 0, 255);
    case 'Y': return QColor(255, 255, 0);
    case 'r': return QColor(128, 0, 0);
    case 'g': return QColor(0, 128, 0);
    case 'b': return QColor(0, 0, 128);
    case 'y': return QColor(128, 128, 0);
    }
    return QColor(0, 0, 0);
}

QImage QuarterPicture()
{
    QImage image(100, 50, QImage::Format_RGB32);
    QPainter painter(&image);
    const char *top = "RGBY";
    const char *bottom = "rgby";
    for (int q = 0; q < 4; ++q) {
        painter.fillRect(q * 25, 0, 25, 25, QuarterColour(top[q]));
        painter.fillRect(q * 25, 25, 25, 25, QuarterColour(bottom[q]));
    }
    return image;
}

QImage SolidPicture(const QColor &colour, int width = 40, int height = 30)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

class PictureDrawingTest : public ::testing::Test {
protected:
    // A board of the given size in the board colour, and a context for it.
    void makeBoard(int width, int height)
    {
        preview.boardWidth = width;
        preview.boardHeight = height;
        board = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        board.fill(kBoardColour);
    }

    RenderContext context() const
    {
        return RenderContext{*layout, *geometry, preview, options, dir.path(), nullptr, {}, nullptr};
    }

    void drawPicture(const Strip &strip, const QRectF &frame)
    {
        QPainter painter(&board);
        DrawStripPicture(context(), painter, strip, frame);
    }

    bool drawBorder(const Strip &strip, const QRectF &rect)
    {
        QPainter painter(&board);
        return DrawPictureBorder(context(), painter, strip, rect);
    }

    QString save(const QString &name, const QImage &image, const char *format = nullptr)
    {
        const QString path = dir.file(name);
        EXPECT_TRUE(image.save(path, format)) << name.toStdString();
        return path;
    }

    QColor at(int x, int y) const { return board.pixelColor(x, y); }

    test::TempDataDir dir;
    std::unique_ptr<MenuLayout> layout = std::make_unique<MenuLayout>();
    std::unique_ptr<GeometryRecords> geometry = std::make_unique<GeometryRecords>();
    PreviewGeometry preview;
    RenderOptions options;
    QImage board;
};

TEST_F(PictureDrawingTest, CropSelectsThePartStretchedOverTheFrame)
{
    const QString picture = save(QStringLiteral("Quarters.png"), QuarterPicture());
    const struct {
        int cropX, cropY, originX, originY;
        const char *shown; // what the frame shows at the middles of its 4 x 2 cells
    } cases[] = {
        {100, 100, 0, 0, "RGBY/rgby"},
        {100, 100, 40, 30, "RGBY/rgby"}, // no crop: the origin does not matter
        {0, 0, 0, 0, "RGBY/rgby"},       // a layout from before pictures had crop values
        {50, 100, 25, 0, "GGBB/ggbb"},   // the middle half of the width
        {25, 100, 75, 0, "YYYY/yyyy"},   // the right quarter, ending exactly on the edge
        {100, 50, 0, 50, "rgby/rgby"},   // the bottom half, stretched to the full height
        {50, 50, 25, 25, "GGBB/ggbb"},
        {60, 100, 50, 0, "RGBY/rgby"},   // reaches past the right edge: whole picture
        {50, 100, -10, 0, "RGBY/rgby"},  // starts before the left edge: whole picture
        {50, 0, 25, 0, "RGBY/rgby"},     // empty height: whole picture
        {150, 50, 0, 0, "RGBY/rgby"},    // wider than the picture: whole picture
    };
    for (const auto &c : cases) {
        makeBoard(400, 240);
        Strip strip;
        strip.Picture.SubImageFileName = picture;
        strip.Picture.SubImageCropPercentageX = c.cropX;
        strip.Picture.SubImageCropPercentageY = c.cropY;
        strip.Picture.SubImageCropOriginPercentageX = c.originX;
        strip.Picture.SubImageCropOriginPercentageY = c.originY;
        const QRectF frame(40, 20, 320, 200);
        drawPicture(strip, frame);

        for (int cell = 0; cell < 8; ++cell) {
            const int column = cell % 4;
            const int row = cell / 4;
            const int x = int(frame.x() + frame.width() * (column * 2 + 1) / 8);
            const int y = int(frame.y() + frame.height() * (row * 2 + 1) / 4);
            const char code = c.shown[row * 5 + column];
            EXPECT_TRUE(ColourNear(at(x, y), QuarterColour(code), 6))
                << "crop " << c.cropX << "x" << c.cropY << " from " << c.originX << "," << c.originY
                << " cell " << column << "," << row;
        }
        EXPECT_EQ(at(39, 100), kBoardColour) << "nothing outside the frame";
        EXPECT_EQ(at(360, 100), kBoardColour);
    }
}

// A crop that ends at the picture's edge with a half pixel in its numbers still selects its
// part: the edges are rounded, not the origin and the width one by one.
TEST_F(PictureDrawingTest, CropEndingAtAnOddEdgeKeepsItsPart)
{
    for (const int width : {201, 333}) {
        QImage picture(width, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QPainter(&picture).fillRect(QRect(width / 2, 0, width, 20), Qt::green);
        const QString path = save(QStringLiteral("Halves%1.png").arg(width), picture);
        makeBoard(200, 100);
        Strip strip;
        strip.Picture.SubImageFileName = path;
        strip.Picture.SubImageCropPercentageX = 50;
        strip.Picture.SubImageCropPercentageY = 100;
        strip.Picture.SubImageCropOriginPercentageX = 50;
        drawPicture(strip, QRectF(0, 0, 200, 100));
        EXPECT_TRUE(ColourNear(at(5, 50), QColor(Qt::green), 6)) << "picture " << width << " wide";
        EXPECT_TRUE(ColourNear(at(195, 50), QColor(Qt::green), 6)) << "picture " << width << " wide";
    }
}

TEST_F(PictureDrawingTest, TransparentPartsBlendOverTheBoard)
{
    makeBoard(100, 100);
    Strip strip;
    strip.Picture.SubImageFileName = save(QStringLiteral("Glass.png"), SolidPicture(QColor(255, 0, 0, 128)));
    strip.Picture.SubImageCropPercentageX = strip.Picture.SubImageCropPercentageY = 100;
    drawPicture(strip, QRectF(10, 10, 80, 80));
    EXPECT_TRUE(ColourNear(at(50, 50), QColor(128, 0, 100), 3));
}

TEST_F(PictureDrawingTest, ProxyNames)
{
    for (const char *name : {"Dish_Proxy.jpg", "Logo_Proxy.png", "Anim_Proxy.gif"})
        QFile(dir.file(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    const struct {
        const char *picture;
        bool proxies;
        const char *drawn;
    } cases[] = {
        {"Dish.JPG", true, "Dish_Proxy.jpg"},
        {"Dish.jpg", true, "Dish_Proxy.jpg"},
        {"Dish.JPG", false, "Dish.JPG"},
        {"Logo.png", true, "Logo_Proxy.png"},
        {"Anim.gif", true, "Anim_Proxy.gif"},
        {"Soup.jpg", true, "Soup.jpg"}, // no proxy on disk
        {"Dish.jpeg", true, "Dish.jpeg"}, // no proxy rule for this extension
        {"Logo.PNG", true, "Logo.PNG"},
    };
    for (const auto &c : cases) {
        const QString picture = dir.file(QString::fromLatin1(c.picture));
        EXPECT_EQ(PictureFileToDraw(picture, c.proxies), dir.file(QString::fromLatin1(c.drawn))) << c.picture;
    }
}

TEST_F(PictureDrawingTest, ProxyIsDrawnWhenSwitchedOnAndPresent)
{
    Strip strip;
    strip.Picture.SubImageFileName = save(QStringLiteral("Dish.JPG"), SolidPicture(Qt::red), "jpg");
    strip.Picture.SubImageCropPercentageX = strip.Picture.SubImageCropPercentageY = 100;
    const QRectF frame(10, 10, 80, 60);

    makeBoard(100, 100);
    options.pictureProxies = true;
    drawPicture(strip, frame);
    EXPECT_TRUE(ColourNear(at(50, 40), QColor(Qt::red), 8)) << "no proxy yet";

    save(QStringLiteral("Dish_Proxy.jpg"), SolidPicture(Qt::green), "jpg");
    drawPicture(strip, frame);
    EXPECT_TRUE(ColourNear(at(50, 40), QColor(Qt::green), 8));

    options.pictureProxies = false;
    drawPicture(strip, frame);
    EXPECT_TRUE(ColourNear(at(50, 40), QColor(Qt::red), 8));
}

TEST_F(PictureDrawingTest, UnreadablePictureDrawsOnlyTheBorder)
{
    QFile text(dir.file(QStringLiteral("Menu.jpg")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    for (const QString &file : {text.fileName(), dir.file(QStringLiteral("Gone.png"))}) {
        makeBoard(1920, 1080);
        Strip strip;
        strip.Picture.SubImageFileName = file;
        strip.Picture.SubImageCropPercentageX = strip.Picture.SubImageCropPercentageY = 100;
        strip.Picture.SubImageFrameIndex = 1;
        drawPicture(strip, QRectF(100, 100, 400, 300));
        EXPECT_EQ(at(300, 250), kBoardColour) << file.toStdString();
        EXPECT_EQ(at(100, 250), QColor(Qt::black)) << file.toStdString();
    }
}

TEST_F(PictureDrawingTest, BorderIsDrawnOverThePicture)
{
    makeBoard(1920, 1080);
    Strip strip;
    strip.Picture.SubImageFileName = save(QStringLiteral("Dish.png"), SolidPicture(Qt::red));
    strip.Picture.SubImageCropPercentageX = strip.Picture.SubImageCropPercentageY = 100;
    strip.Picture.SubImageFrameIndex = 4; // "White Thin"
    drawPicture(strip, QRectF(100, 100, 400, 300));
    EXPECT_EQ(at(101, 250), QColor(Qt::white)) << "inner half of the border, over the picture";
    EXPECT_EQ(at(98, 250), QColor(Qt::white)) << "outer half";
    EXPECT_TRUE(ColourNear(at(300, 250), QColor(Qt::red), 2));
}

TEST_F(PictureDrawingTest, WhitePrintLeavesOutHiddenPictureAndItsBorder)
{
    makeBoard(1920, 1080);
    Strip strip;
    strip.Picture.SubImageFileName = save(QStringLiteral("Dish.png"), SolidPicture(Qt::red));
    strip.Picture.SubImageCropPercentageX = strip.Picture.SubImageCropPercentageY = 100;
    strip.Picture.SubImageFrameIndex = 3;
    strip.Picture.ImageHiddenOnWhite = 1;
    options.whitePrint = true;
    const QImage before = board;
    drawPicture(strip, QRectF(100, 100, 400, 300));
    EXPECT_EQ(board, before);

    // Not hidden: the picture is on the white-print board too.
    strip.Picture.ImageHiddenOnWhite = 0;
    drawPicture(strip, QRectF(100, 100, 400, 300));
    EXPECT_TRUE(ColourNear(at(300, 250), QColor(Qt::red), 2));
}

// Borders around (100, 100, 400, 300) on a 1920 x 1080 board, where the base width b is 4.8.
// The pen lies centred on the outline: probed along the left edge, the pixels wholly inside the
// pen have its colour, the first pixels beyond its edges are untouched, and the outer corner is
// square.
TEST_F(PictureDrawingTest, BorderStylesWidthsAndColours)
{
    const QColor black(0, 0, 0), white(255, 255, 255), grey(128, 128, 128);
    const struct {
        int index;
        bool whitePrint;
        bool hiddenOnWhite;
        bool drawn; // whether anything is drawn
        QColor colour;
        double width;
    } cases[] = {
        {1, false, false, true, black, 4.8},
        {2, false, false, true, black, 7.2},
        {3, false, false, true, black, 10.8},
        {4, false, false, true, white, 4.8},
        {5, false, false, true, white, 7.2},
        {6, false, false, true, white, 10.8},
        {7, false, false, true, grey, 4.8},
        {8, false, false, true, grey, 7.2},
        {9, false, false, true, grey, 10.8},
        {6, true, false, true, black, 3.0},  // white print: black and (W + H) x 0.001
        {1, true, false, true, black, 3.0},
        {3, false, true, true, grey, 2.4},   // hidden on white: thin grey, whatever the style
        {5, false, true, true, grey, 2.4},
        {6, true, true, false, {}, 0.0},     // white print and hidden: nothing
    };
    const double edge = 100.0;
    for (const auto &c : cases) {
        makeBoard(1920, 1080);
        options.whitePrint = c.whitePrint;
        Strip strip;
        strip.Picture.SubImageFrameIndex = c.index;
        strip.Picture.ImageHiddenOnWhite = c.hiddenOnWhite ? 1 : 0;
        const QImage before = board;
        EXPECT_TRUE(drawBorder(strip, QRectF(100, 100, 400, 300))) << c.index;
        if (!c.drawn) {
            EXPECT_EQ(board, before) << c.index;
            continue;
        }
        const int firstFull = int(std::ceil(edge - c.width / 2));
        const int lastFull = int(std::floor(edge + c.width / 2)) - 1;
        const std::string what = "style " + std::to_string(c.index) + (c.whitePrint ? " white print" : "")
                                 + (c.hiddenOnWhite ? " hidden" : "");
        EXPECT_EQ(at(firstFull, 250), c.colour) << what;
        EXPECT_EQ(at(lastFull, 250), c.colour) << what;
        EXPECT_EQ(at(firstFull - 2, 250), kBoardColour) << what;
        EXPECT_EQ(at(lastFull + 2, 250), kBoardColour) << what;
        EXPECT_NE(at(firstFull - 1, 250), c.colour) << what << ": only partly covered";
        EXPECT_EQ(at(firstFull, firstFull), c.colour) << what << ": square corner";
        EXPECT_EQ(at(300, 250), kBoardColour) << what << ": not filled";
    }
}

TEST_F(PictureDrawingTest, BorderStylesOutsideTheList)
{
    makeBoard(400, 300);
    Strip strip;
    const QImage before = board;
    for (int index : {0, -3}) {
        strip.Picture.SubImageFrameIndex = index;
        EXPECT_FALSE(drawBorder(strip, QRectF(100, 100, 100, 100))) << index;
        EXPECT_EQ(board, before) << index;
    }
    // Above 9: a black pen of width 0, drawn as the thinnest line there is.
    strip.Picture.SubImageFrameIndex = 12;
    EXPECT_TRUE(drawBorder(strip, QRectF(100.5, 100.5, 100, 100)));
    EXPECT_EQ(at(100, 150), QColor(Qt::black));
    EXPECT_EQ(at(99, 150), kBoardColour);
    EXPECT_EQ(at(101, 150), kBoardColour);
}

} // namespace
} // namespace tavrin

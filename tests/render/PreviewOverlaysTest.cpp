#include "render/PreviewOverlays.h"
#include "support/GuiApplication.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace tavrin {
namespace {

QImage Blank()
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    return image;
}

TEST(PreviewOverlays, VerticalGridOutlinesTheBoardAndSeparatesColumns)
{
    test::EnsureGuiApplication();
    auto geometry = std::make_unique<GeometryRecords>();
    (*geometry)(0, 0).cellRect = {11, 11, 80, 50};
    PreviewGeometry preview;
    preview.previewDestination = QRectF(10, 10, 240, 150);

    for (int columns : {1, 3}) {
        QImage image = Blank();
        QPainter painter(&image);
        DrawVerticalGrid(painter, preview, *geometry, columns);
        painter.end();
        EXPECT_EQ(image.pixel(10, 80), qRgb(160, 160, 160)) << "outline, left edge";
        // Between columns: a light line at left + step and a dark one beside it.
        const bool separated = image.pixel(90, 80) == qRgb(160, 160, 160) && image.pixel(91, 80) == qRgb(100, 100, 100)
            && image.pixel(170, 80) == qRgb(160, 160, 160);
        EXPECT_EQ(separated, columns == 3) << columns << " columns";
    }
}

TEST(PreviewOverlays, MarqueeIsBlackWithWhiteDashesTwoPixelsInside)
{
    test::EnsureGuiApplication();
    QImage image = Blank();
    QPainter painter(&image);
    DrawMarquee(painter, QRectF(20, 20, 100, 60), true);
    painter.end();
    int black = 0, white = 0;
    for (int x = 22; x < 120; ++x) {
        const QRgb p = image.pixel(x, 22);
        black += p == qRgb(0, 0, 0);
        white += p == qRgb(255, 255, 255);
    }
    EXPECT_GT(black, 20);
    EXPECT_GT(white, 20);
    EXPECT_EQ(image.pixel(20, 50), qRgb(0, 0, 255)) << "nothing on the rectangle's own edge";
}

} // namespace
} // namespace tavrin

#include "images/TvImageOutput.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(TvImageOutput, FileTypeFollowsTheBackgroundsExtensionExactly)
{
    const std::pair<const char *, TvImageFormat> cases[] = {
        {"Background.jpg", TvImageFormat::Jpeg}, {"/m/a.tif", TvImageFormat::Tiff},
        {"/m/a.TIF", TvImageFormat::Tiff},       {"/m/a.Tif", TvImageFormat::Jpeg},
        {"/m/a.bmp", TvImageFormat::Bmp},        {"/m/a.BMP", TvImageFormat::Bmp},
        {"/m/a.tiff", TvImageFormat::Jpeg},      {"bmp", TvImageFormat::Bmp}, // no dot: the whole name
        {"/m/a.png", TvImageFormat::Jpeg},
    };
    for (const auto &[name, format] : cases)
        EXPECT_EQ(TvImageFormatFor(name), format) << name;
}

TEST(TvImageOutput, NamesSitBesideThePackage)
{
    EXPECT_EQ(TvImagePathForPackage("/m/Menu1_LAYOUT.MARBIX", false), "/m/Menu1_TV.jpg");
    EXPECT_EQ(TvImagePathForPackage("/m/Menu1_LAYOUT_WHITE_PRINT_BGND.MARBIX", true),
              "/m/Menu1_TV_WHITE_PRINT_BGND.jpg");
    EXPECT_EQ(TvImagePathForPackage("/m/Menu1.MARBIX", false), "/m/Menu1_TV.jpg");
}

TEST(TvImageOutput, PortraitBoardsTurnAQuarterEitherWay)
{
    QImage board(2, 3, QImage::Format_RGB32);
    board.fill(Qt::white);
    board.setPixel(0, 0, qRgb(255, 0, 0)); // top-left marker
    const QImage clockwise = RotateForTv(board, 1);
    ASSERT_EQ(clockwise.size(), QSize(3, 2));
    EXPECT_EQ(clockwise.pixel(2, 0), qRgb(255, 0, 0)); // top-left goes to top-right
    const QImage counter = RotateForTv(board, 2);
    EXPECT_EQ(counter.pixel(0, 1), qRgb(255, 0, 0)); // top-left goes to bottom-left
    EXPECT_EQ(RotateForTv(board, 0), board);
}

TEST(TvImageOutput, SavesInTheChosenFormatWithTheJpgName)
{
    QTemporaryDir folder;
    QImage board(64, 32, QImage::Format_RGB32);
    board.fill(QColor(10, 200, 30));
    for (TvImageFormat format : {TvImageFormat::Jpeg, TvImageFormat::Bmp, TvImageFormat::Tiff}) {
        const QString path = folder.filePath("Menu_TV.jpg");
        ASSERT_TRUE(SaveTvImage(board, path, format));
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QByteArray expected = format == TvImageFormat::Jpeg ? "jpeg" : format == TvImageFormat::Bmp ? "bmp" : "tiff";
        EXPECT_EQ(reader.format(), expected);
        EXPECT_EQ(reader.read().size(), QSize(64, 32));
    }
    EXPECT_FALSE(SaveTvImage(board, folder.filePath("no-such-folder/Menu_TV.jpg"), TvImageFormat::Jpeg));
}

// The JPEG plugin is called directly (sparing the loading of every other image plugin); the
// bytes must stay those of Qt's image writer at the TV quality, resolution and all.
TEST(TvImageOutput, JpegBytesAreTheImageWritersOwn)
{
    QImage board(97, 41, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, qRgb(x * 2, y * 6, (x * y) % 256));
    board.setDotsPerMeterX(2835);
    board.setDotsPerMeterY(5906);
    QImage translucent = board.convertToFormat(QImage::Format_ARGB32);
    translucent.setPixel(3, 3, qRgba(0, 0, 0, 0));
    for (const QImage &image : {board, translucent}) {
        QByteArray expected;
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(kTvJpegQuality);
        ASSERT_TRUE(writer.write(image.convertToFormat(QImage::Format_RGB32)));
        EXPECT_EQ(EncodeTvImage(image, TvImageFormat::Jpeg), expected);
    }
}

} // namespace
} // namespace tavrin

#include "images/ImageDecoding.h"
#include "support/TempDataDir.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImageWriter>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>

namespace tavrin {
namespace {

QByteArray Encode(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes;
}

QImage Gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 90));
    return image;
}

// A BMP header that declares a 24-bit picture of the given size, followed by a few bytes.
QByteArray BmpHeader(qint32 width, qint32 height)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 imageBytes = 0; // allowed for uncompressed pictures
    out.writeRawData("BM", 2);
    out << quint32(54 + 16) << quint32(0) << quint32(54);
    out << quint32(40) << width << height << quint16(1) << quint16(24) << quint32(0) << imageBytes
        << qint32(3780) << qint32(3780) << quint32(0) << quint32(0);
    bytes.append(16, '\x7f');
    return bytes;
}

class ImageDecodingTest : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.file(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    test::TempDataDir dir;
};

TEST_F(ImageDecodingTest, BadFilesDecodeToNothing)
{
    const QByteArray jpeg = Encode(Gradient(64, 48), "jpg");
    const QByteArray png = Encode(Gradient(64, 48), "png");
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"text.jpg", "This is a price list, not a picture.\n"},
        {"empty.png", ""},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
        {"cut-before-end-marker.jpg", jpeg.left(jpeg.size() - 2)},
        {"truncated.png", png.left(png.size() / 2)},
        {"header-only.jpg", jpeg.left(20)},
        // Declared sizes far beyond the limit: refused from the header, before any pixel memory.
        {"huge.pgm", QByteArray("P5\n30000 30000\n255\n") + QByteArray(64, '\x10')},
        {"huge.bmp", BmpHeader(30000, 30000)},
    };
    for (const auto &c : cases) {
        const DecodedImage decoded = DecodeImageFile(write(QString::fromLatin1(c.name), c.bytes));
        EXPECT_TRUE(decoded.isNull()) << c.name;
    }
    EXPECT_TRUE(DecodeImageFile(dir.file(QStringLiteral("missing.jpg"))).isNull());
    EXPECT_TRUE(DecodeImageFile(dir.path()).isNull()) << "a folder";
}

TEST_F(ImageDecodingTest, WholeJpegsDecodeInEveryLayout)
{
    const QImage source = Gradient(64, 48);
    const QByteArray baseline = Encode(source, "jpg");
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"baseline.jpg", baseline},
        {"progressive.jpg", Encode(source, "jpg", true)},
        // Cameras append data after the end-of-image marker; the picture is still whole.
        {"trailer.jpg", baseline + QByteArray(300, '\0')},
    };
    for (const auto &c : cases) {
        const DecodedImage decoded = DecodeImageFile(write(QString::fromLatin1(c.name), c.bytes));
        ASSERT_FALSE(decoded.isNull()) << c.name;
        EXPECT_EQ(decoded.image.size(), QSize(64, 48)) << c.name;
        const QColor corner = decoded.image.pixelColor(63, 47);
        EXPECT_NEAR(corner.red(), 251, 12) << c.name;
        EXPECT_NEAR(corner.green(), 249, 12) << c.name;
    }
}

TEST_F(ImageDecodingTest, ContentDecidesWhenTheExtensionIsWrong)
{
    const DecodedImage decoded = DecodeImageFile(write(QStringLiteral("really-a-png.jpg"), Encode(Gradient(9, 5), "png")));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.image.size(), QSize(9, 5));
}

TEST_F(ImageDecodingTest, SizeQueryReadsOnlyTheHeader)
{
    EXPECT_EQ(ImagePixelSize(write(QStringLiteral("huge.pgm"), "P5\n30000 30000\n255\n")), QSize(30000, 30000));
    EXPECT_EQ(ImagePixelSize(write(QStringLiteral("small.png"), Encode(Gradient(12, 7), "png"))), QSize(12, 7));
    EXPECT_EQ(ImagePixelSize(write(QStringLiteral("text.png"), "no picture")), std::nullopt);
    EXPECT_EQ(ImagePixelSize(dir.file(QStringLiteral("missing.png"))), std::nullopt);
}

TEST_F(ImageDecodingTest, ResolutionInDotsPerInch)
{
    const auto withDpi = [](int dpi) {
        QImage image = Gradient(16, 16);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        return image;
    };
    // The JPEG reader truncates 72 dpi to 2834 dots per metre (71.98 dpi).
    EXPECT_EQ(DecodeImageFile(write(QStringLiteral("72.jpg"), Encode(withDpi(72), "jpg"))).dpiY, 72);
    EXPECT_EQ(DecodeImageFile(write(QStringLiteral("300.jpg"), Encode(withDpi(300), "jpg"))).dpiY, 300);
    EXPECT_EQ(DecodeImageFile(write(QStringLiteral("150.png"), Encode(withDpi(150), "png"))).dpiY, 150);

    // A portable graymap states no resolution.
    const QByteArray pgm = QByteArray("P5\n2 2\n255\n") + QByteArray(4, '\x40');
    const DecodedImage unstated = DecodeImageFile(write(QStringLiteral("plain.pgm"), pgm));
    ASSERT_FALSE(unstated.isNull());
    EXPECT_EQ(unstated.dpiY, 96);
}

// EXIF orientation 6 (turned 90 degrees clockwise) in an APP1 segment right after the start marker.
QByteArray WithExifOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0*\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                                   // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);                 // orientation, SHORT, 1
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xFF);
    tiff += QByteArray("\0\0", 2);
    tiff += QByteArray("\0\0\0\0", 4);                                 // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

TEST_F(ImageDecodingTest, OrientationIsReportedButPixelsStayAsStored)
{
    const QByteArray jpeg = WithExifOrientation(Encode(Gradient(40, 20), "jpg"), 6);
    const DecodedImage decoded = DecodeImageFile(write(QStringLiteral("turned.jpg"), jpeg));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.image.size(), QSize(40, 20));
    EXPECT_EQ(decoded.transformation, QImageIOHandler::TransformationRotate90);
    EXPECT_EQ(ExifOrientation(decoded.transformation), 6);

    const DecodedImage plain = DecodeImageFile(write(QStringLiteral("plain.jpg"), Encode(Gradient(40, 20), "jpg")));
    EXPECT_EQ(ExifOrientation(plain.transformation), 1);
}

// A JPEG whose JFIF segment is replaced by an EXIF block stating the resolution in the unit
// given (2 inch, 3 centimetre); Qt's reader itself never looks at the EXIF resolution.
QByteArray WithExifResolutionOnly(const QByteArray &jpeg, quint32 resolution, quint16 unit)
{
    const auto be16 = [](quint16 v) {
        QByteArray bytes;
        bytes.append(char(v >> 8)).append(char(v & 0xFF));
        return bytes;
    };
    const auto be32 = [&](quint32 v) { return be16(quint16(v >> 16)) + be16(quint16(v & 0xFFFF)); };
    QByteArray tiff("MM\0*", 4);
    tiff += be32(8);
    tiff += be16(3);
    const quint32 rationalAt = 8 + 2 + 3 * 12 + 4;
    tiff += be16(282) + be16(5) + be32(1) + be32(rationalAt);
    tiff += be16(283) + be16(5) + be32(1) + be32(rationalAt);
    tiff += be16(296) + be16(3) + be32(1) + be16(unit) + be16(0);
    tiff += be32(0);
    tiff += be32(resolution) + be32(1);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const QByteArray segment = QByteArray("\xFF\xE1", 2) + be16(quint16(payload.size() + 2)) + payload;
    // The JFIF segment comes right after the start marker.
    const int jfifLength = (uchar(jpeg[4]) << 8) | uchar(jpeg[5]);
    EXPECT_EQ(jpeg.mid(6, 4), "JFIF");
    return jpeg.left(2) + segment + jpeg.mid(4 + jfifLength);
}

// The resolution comes from what the file states, also when that happens to be the value the
// reader puts on images that state none.
TEST_F(ImageDecodingTest, ResolutionIsReadFromTheFile)
{
    const int readerDefault = QImage(1, 1, QImage::Format_RGB32).dotsPerMeterY();
    QImage atDefault = Gradient(16, 16);
    atDefault.setDotsPerMeterX(readerDefault);
    atDefault.setDotsPerMeterY(readerDefault);
    const int defaultDpi = int(std::lround(readerDefault * 0.0254));
    const struct {
        const char *name;
        QByteArray bytes;
        int dpi;
    } cases[] = {
        {"default.jpg", Encode(atDefault, "jpg"), defaultDpi},
        {"default.png", Encode(atDefault, "png"), defaultDpi},
        {"default.bmp", Encode(atDefault, "bmp"), defaultDpi},
        {"exif-inch.jpg", WithExifResolutionOnly(Encode(Gradient(16, 16), "jpg"), 300, 2), 300},
        {"exif-cm.jpg", WithExifResolutionOnly(Encode(Gradient(16, 16), "jpg"), 40, 3), 102},
        {"exif-none.jpg", WithExifResolutionOnly(Encode(Gradient(16, 16), "jpg"), 300, 1), 96},
        // more dots per metre than an image holds: the most it holds, not a wrapped-around value
        {"exif-huge.jpg", WithExifResolutionOnly(Encode(Gradient(16, 16), "jpg"), 4'000'000'000u, 2), 54'546'085},
    };
    for (const auto &c : cases) {
        const DecodedImage decoded = DecodeImageFile(write(QString::fromLatin1(c.name), c.bytes));
        ASSERT_FALSE(decoded.isNull()) << c.name;
        EXPECT_EQ(decoded.dpiY, c.dpi) << c.name;
        EXPECT_EQ(VerticalDotsPerInch(decoded.image), c.dpi) << c.name;
    }
}

// The layout pass takes size and resolution from the header alone; the output render then
// decodes. Both must see the same board.
TEST_F(ImageDecodingTest, DescriptionAgreesWithTheDecode)
{
    QImage stated = Gradient(30, 20);
    stated.setDotsPerMeterX(11811); // 300 dots per inch
    stated.setDotsPerMeterY(5906);  // 150
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"stated.jpg", Encode(stated, "jpg")},
        {"stated.png", Encode(stated, "png")},
        {"stated.bmp", Encode(stated, "bmp")},
        {"stated.tif", Encode(stated, "tiff")},
        {"none.webp", Encode(Gradient(30, 20), "webp")},
        {"none.pgm", Encode(Gradient(30, 20), "pgm")},
        {"exif-cm.jpg", WithExifResolutionOnly(Encode(Gradient(16, 16), "jpg"), 40, 3)},
        {"exif-huge.jpg", WithExifResolutionOnly(Encode(Gradient(16, 16), "jpg"), 4'000'000'000u, 2)},
        {"really-a-png.jpg", Encode(stated, "png")},
    };
    for (const auto &c : cases) {
        const QString path = write(QString::fromLatin1(c.name), c.bytes);
        const DecodedImage decoded = DecodeImageFile(path);
        const std::optional<ImageDescription> described = DescribeImageFile(path);
        ASSERT_FALSE(decoded.isNull()) << c.name;
        ASSERT_TRUE(described.has_value()) << c.name;
        EXPECT_EQ(described->size, decoded.image.size()) << c.name;
        EXPECT_EQ(described->dpiY, decoded.dpiY) << c.name;
    }
    EXPECT_FALSE(DescribeImageFile(write(QStringLiteral("text.jpg"), "not a picture")).has_value());
    EXPECT_FALSE(DescribeImageFile(write(QStringLiteral("cut.jpg"), Encode(stated, "jpg").chopped(2))).has_value());
}

// A decode started ahead is what the next paint-on decode of that file gives, unless the file
// changed after it was read; a decode of another file leaves it waiting.
TEST_F(ImageDecodingTest, ADecodeAheadServesOnlyTheFileAsItStillIs)
{
    const QImage first = Gradient(64, 48), second = Gradient(40, 30).mirrored(true, false);
    const QString board = write(QStringLiteral("board.png"), Encode(first, "png"));
    const QString other = write(QStringLiteral("other.png"), Encode(second, "png"));

    // The pictures decoded after the board (one of them missing) are kept for drawing.
    DecodeImageFileAhead(board, {other, dir.file(QStringLiteral("missing-picture.png"))});
    EXPECT_EQ(DecodeImageFileCached(other).image.convertToFormat(QImage::Format_RGB32), second);
    EXPECT_EQ(DecodeImageFileToPaintOn(other).image.convertToFormat(QImage::Format_RGB32), second);
    EXPECT_EQ(DecodeImageFileToPaintOn(board).image.convertToFormat(QImage::Format_RGB32), first);

    DecodeImageFileAhead(board);
    // Long enough for the decode to have read the file as it was (the outcome does not depend
    // on it; only whether a stale decode could show).
    QThread::msleep(300);
    write(QStringLiteral("board.png"), Encode(second, "png"));
    EXPECT_EQ(DecodeImageFileToPaintOn(board).image.convertToFormat(QImage::Format_RGB32), second);

    DecodeImageFileAhead(dir.file(QStringLiteral("missing.png")));
    EXPECT_TRUE(DecodeImageFileToPaintOn(dir.file(QStringLiteral("missing.png"))).isNull());
}

TEST(ExifOrientation, EveryTransformationHasItsNumber)
{
    const std::pair<QImageIOHandler::Transformation, int> cases[] = {
        {QImageIOHandler::TransformationNone, 1},       {QImageIOHandler::TransformationMirror, 2},
        {QImageIOHandler::TransformationRotate180, 3},  {QImageIOHandler::TransformationFlip, 4},
        {QImageIOHandler::TransformationFlipAndRotate90, 5}, {QImageIOHandler::TransformationRotate90, 6},
        {QImageIOHandler::TransformationMirrorAndRotate90, 7}, {QImageIOHandler::TransformationRotate270, 8},
    };
    for (const auto &[transformation, number] : cases)
        EXPECT_EQ(ExifOrientation(transformation), number) << int(transformation);
}

} // namespace
} // namespace tavrin

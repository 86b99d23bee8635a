#pragma once

// Picture files for the import, proxy and load-command tests.

#include "images/GifWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace tavrin::test {

inline QByteArray EncodeImage(const QImage &image, const char *format, int quality = -1)
{
    if (QByteArray(format) == "gif")
        return EncodeGif(image).value_or(QByteArray());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes;
}

inline QString WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Four solid quarters, so that a turn or a mirror shows at the quarter centres even after JPEG
// compression: red top left, green top right, blue bottom left, white bottom right.
inline QImage Quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            image.setPixel(x, y, !bottom ? (right ? qRgb(0, 200, 0) : qRgb(220, 0, 0))
                                         : (right ? qRgb(255, 255, 255) : qRgb(0, 0, 220)));
        }
    return image;
}

// Colour noise: compresses badly, so a JPEG of it is large for its size.
inline QImage Noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    return image;
}

// A JPEG with an EXIF orientation tag in an APP1 segment right after its start marker.
inline QByteArray WithExifOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0*\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                   // one directory entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // orientation, SHORT, count 1
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xFF);
    tiff += QByteArray("\0\0\0\0\0\0", 6);             // value padding, no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    return jpeg.left(2) + QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload + jpeg.mid(2);
}

// A whole JPEG whose frame header claims width x height pixels.
inline QByteArray WithDeclaredJpegSize(QByteArray jpeg, quint16 width, quint16 height)
{
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    EXPECT_GT(frame, 0);
    // marker (2), length (2), precision (1), then height and width.
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xFF);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width & 0xFF);
    return jpeg;
}

} // namespace tavrin::test

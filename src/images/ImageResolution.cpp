#include "images/ImageResolution.h"

#include <QtEndian>

#include <optional>

namespace tavrin {

namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr double kMetresPerInch = 0.0254;

quint16 Read16(QByteArrayView data, qsizetype at, bool bigEndian)
{
    return bigEndian ? qFromBigEndian<quint16>(data.data() + at) : qFromLittleEndian<quint16>(data.data() + at);
}

quint32 Read32(QByteArrayView data, qsizetype at, bool bigEndian)
{
    return bigEndian ? qFromBigEndian<quint32>(data.data() + at) : qFromLittleEndian<quint32>(data.data() + at);
}

struct Resolution {
    double x = 0.0;
    double y = 0.0;
};

// The resolution fields of a TIFF structure (a TIFF file, or the EXIF block of a JPEG): X and Y
// resolution of the first directory in the unit it names (inch when it names none; unit 1 means
// the numbers are only an aspect ratio).
std::optional<Resolution> ReadTiffResolution(QByteArrayView tiff)
{
    if (tiff.size() < 8)
        return std::nullopt;
    bool big;
    if (tiff.startsWith(QByteArrayView("MM\0*", 4)))
        big = true;
    else if (tiff.startsWith(QByteArrayView("II*\0", 4)))
        big = false;
    else
        return std::nullopt;
    const qsizetype directory = Read32(tiff, 4, big);
    if (directory < 8 || directory + 2 > tiff.size())
        return std::nullopt;
    const int entries = Read16(tiff, directory, big);
    const auto rational = [&](qsizetype entry) -> double {
        const qsizetype at = Read32(tiff, entry + 8, big);
        if (Read16(tiff, entry + 2, big) != 5 || at < 0 || at + 8 > tiff.size())
            return 0.0;
        const quint32 denominator = Read32(tiff, at + 4, big);
        return denominator == 0 ? 0.0 : double(Read32(tiff, at, big)) / denominator;
    };
    Resolution resolution;
    int unit = 2;
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = directory + 2 + qsizetype(i) * 12;
        if (entry + 12 > tiff.size())
            break;
        switch (Read16(tiff, entry, big)) {
        case 282: resolution.x = rational(entry); break;
        case 283: resolution.y = rational(entry); break;
        case 296: unit = Read16(tiff, entry + 8, big); break;
        default: break;
        }
    }
    if (unit == 3) {
        resolution.x *= kCentimetresPerInch;
        resolution.y *= kCentimetresPerInch;
    } else if (unit != 2) {
        return Resolution{};
    }
    return resolution;
}

Resolution ReadJpegResolution(QByteArrayView data)
{
    std::optional<Resolution> jfif;
    std::optional<Resolution> exif;
    qsizetype pos = 2;
    while (pos + 4 <= data.size() && uchar(data[pos]) == 0xFF) {
        const uchar marker = uchar(data[pos + 1]);
        if (marker == 0xDA || marker == 0xD9)
            break; // the header ends where the picture data starts
        const qsizetype length = Read16(data, pos + 2, true);
        if (length < 2 || pos + 2 + length > data.size())
            break;
        const QByteArrayView segment = data.sliced(pos + 4, length - 2);
        if (marker == 0xE0 && !jfif && segment.size() >= 12 && segment.startsWith(QByteArrayView("JFIF\0", 5))) {
            const int units = uchar(segment[7]);
            const double x = Read16(segment, 8, true);
            const double y = Read16(segment, 10, true);
            if (units == 1)
                jfif = Resolution{x, y};
            else if (units == 2)
                jfif = Resolution{x * kCentimetresPerInch, y * kCentimetresPerInch};
        } else if (marker == 0xE1 && !exif && segment.startsWith(QByteArrayView("Exif\0\0", 6))) {
            exif = ReadTiffResolution(segment.sliced(6));
        }
        pos += 2 + length;
    }
    if (jfif)
        return *jfif;
    return exif.value_or(Resolution{});
}

Resolution ReadPngResolution(QByteArrayView data)
{
    qsizetype pos = 8;
    while (pos + 12 <= data.size()) {
        const qsizetype length = Read32(data, pos, true);
        const QByteArrayView type = data.sliced(pos + 4, 4);
        if (type == QByteArrayView("IDAT") || length < 0 || pos + 12 + length > data.size())
            break;
        if (type == QByteArrayView("pHYs") && length >= 9) {
            // Unit 1 is the metre; unit 0 gives only the aspect ratio.
            if (uchar(data[pos + 16]) != 1)
                break;
            return {Read32(data, pos + 8, true) * kMetresPerInch, Read32(data, pos + 12, true) * kMetresPerInch};
        }
        pos += 12 + length;
    }
    return {};
}

Resolution ReadBmpResolution(QByteArrayView data)
{
    // The information header follows the 14-byte file header; from its 40-byte version on it
    // holds the pixels per metre.
    if (data.size() < 14 + 40 || qFromLittleEndian<quint32>(data.data() + 14) < 40)
        return {};
    const qint32 x = qFromLittleEndian<qint32>(data.data() + 38);
    const qint32 y = qFromLittleEndian<qint32>(data.data() + 42);
    return {x > 0 ? x * kMetresPerInch : 0.0, y > 0 ? y * kMetresPerInch : 0.0};
}

} // namespace

StatedResolution ReadStatedResolution(QByteArrayView data)
{
    StatedResolution stated;
    Resolution resolution;
    if (data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 && uchar(data[2]) == 0xFF) {
        resolution = ReadJpegResolution(data);
    } else if (data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8))) {
        resolution = ReadPngResolution(data);
    } else if (data.startsWith(QByteArrayView("MM\0*", 4)) || data.startsWith(QByteArrayView("II*\0", 4))) {
        resolution = ReadTiffResolution(data).value_or(Resolution{});
    } else if (data.startsWith("BM")) {
        resolution = ReadBmpResolution(data);
    } else {
        return stated;
    }
    stated.headerRead = true;
    if (resolution.x > 0.0 && resolution.y > 0.0) {
        stated.dpiX = resolution.x;
        stated.dpiY = resolution.y;
    }
    return stated;
}

} // namespace tavrin

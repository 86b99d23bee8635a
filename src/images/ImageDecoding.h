#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

#include <optional>

namespace tavrin {

// The one way the program decodes image files. Decoding is bounded: a file whose declared size
// is above kMaxDecodedPixels is refused before any pixel memory is taken, and the reader's
// allocation limit catches formats that do not declare their size up front. Every failure
// (missing file, not an image, truncated data, too large) gives a null image, never a crash.
inline constexpr qint64 kMaxDecodedPixels = 200'000'000;
inline constexpr int kDecodeAllocationLimitMB = 1024;
// Resolution assumed for an image that does not state one.
inline constexpr int kDefaultDotsPerInch = 96;

struct DecodedImage {
    QImage image;   // null when decoding failed
    int dpiY = kDefaultDotsPerInch;
    // EXIF orientation as the reader reports it; the pixels are never turned by the decoder.
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;

    bool isNull() const { return image.isNull(); }
};

DecodedImage DecodeImageFile(const QString &path);

// DecodeImageFile through a small cache of this process's latest decodes, for drawing: the
// background and the pictures are drawn at every refresh and again for the output. A file is
// decoded anew once its identity on disk, size or change time differ from the decode kept.
DecodedImage DecodeImageFileCached(const QString &path);

// Width and height as the file declares them, without decoding the pixels; nullopt when the
// file cannot be read as an image.
std::optional<QSize> ImagePixelSize(const QString &path);

// Vertical resolution of a decoded image in whole dots per inch. DecodeImageFile gives every
// image the resolution its file states, 96 when the file states none.
int VerticalDotsPerInch(const QImage &image);

// The EXIF orientation number (1 to 8) of a reader transformation.
int ExifOrientation(QImageIOHandler::Transformations transformation);

} // namespace tavrin

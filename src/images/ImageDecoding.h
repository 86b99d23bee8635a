#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin {

// The one way the program decodes image files. Decoding is bounded: a file whose declared size
// is above kMaxDecodedPixels is refused before any pixel memory is taken, and the reader's
// allocation limit catches formats that do not declare their size up front. Every failure
// (missing file, not an image, truncated data, too large) gives a null image, never a crash.
inline constexpr qint64 kMaxDecodedPixels = 200'000'000;
inline constexpr int kDecodeAllocationLimitMB = 1024;
// No image file the program reads is larger than this.
inline constexpr qint64 kMaxImageFileBytes = qint64(512) << 20;
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

// A decode whose pixels the caller goes on to paint on: the kept decode when there is one
// (painting then works on a copy of it), else a fresh decode that is not kept, painted on in
// place. The output render takes its background this way.
DecodedImage DecodeImageFileToPaintOn(const QString &path);

// Starts decoding path on another thread for the DecodeImageFileToPaintOn that a program knows
// is coming (the command line writes the TV image right after the open), so that the decode
// runs while the open measures the texts. That call takes the decode over, waiting for it to
// end, when the file is still the one decoded; otherwise it decodes again. The same thread then
// decodes the pictures into the kept decodes (DecodeImageFileCached), for the drawing to come.
// One decode is held ahead at a time; a new one replaces it.
void DecodeImageFileAhead(const QString &path, const QStringList &pictures = {});

// What drawing a picture needs to know of it before its pixels: the size and vertical dots per
// inch a decode gives it, read from the file's header where that states both, from a (kept)
// decode otherwise. nullopt where the checks before any decode fail; a file whose pixel data is
// damaged after a sound header is only found out by the decode.
struct ImageDescription {
    QSize size;
    int dpiY = kDefaultDotsPerInch;
};
std::optional<ImageDescription> DescribeImageFile(const QString &path);

// Width and height as the file declares them, without decoding the pixels; nullopt when the
// file cannot be read as an image.
std::optional<QSize> ImagePixelSize(const QString &path);

// Vertical resolution of a decoded image in whole dots per inch. DecodeImageFile gives every
// image the resolution its file states, 96 when the file states none.
int VerticalDotsPerInch(const QImage &image);

// The EXIF orientation number (1 to 8) of a reader transformation.
int ExifOrientation(QImageIOHandler::Transformations transformation);

} // namespace tavrin

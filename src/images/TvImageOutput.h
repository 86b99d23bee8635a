#pragma once

#include <QImage>
#include <QString>

namespace tavrin {

// The TV image's file type follows the background's extension (the text after its last "."):
// "tif"/"TIF" gives TIFF, "bmp"/"BMP" gives BMP, anything else JPEG at quality 84. The file
// name keeps its ".jpg" ending whatever the type.
enum class TvImageFormat { Jpeg, Tiff, Bmp };
TvImageFormat TvImageFormatFor(const QString &backgroundName);
inline constexpr int kTvJpegQuality = 84;

// How a portrait board is turned for the television: 0 not at all, 1 a quarter turn clockwise,
// 2 a quarter turn counter-clockwise.
QImage RotateForTv(const QImage &board, int rotation);

// The TV image beside a package: every "_LAYOUT_WHITE_PRINT_BGND" removed, then ".MARBIX"
// replaced by "_TV_WHITE_PRINT_BGND.jpg" (white print) or "_TV.jpg".
QString TvImagePathForPackage(const QString &packagePath, bool whitePrint);

// The image encoded in the given format; empty when it cannot be encoded.
QByteArray EncodeTvImage(const QImage &image, TvImageFormat format);

// Encodes image to path in the given format, replacing an existing file only once the new one
// is complete. Returns false when nothing was written.
bool SaveTvImage(const QImage &image, const QString &path, TvImageFormat format);

} // namespace tavrin

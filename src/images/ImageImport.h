#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace tavrin {

class Prompter;

// An imported JPEG wider or higher than this and larger than kImportReductionFileSize bytes is
// reduced in place to this many pixels on its longer side.
inline constexpr int kImportReductionLimit = 3200;
inline constexpr qint64 kImportReductionFileSize = 5'000'000;
// A picture narrower and lower than this draws the low-resolution warning.
inline constexpr int kLowResolutionLimit = 512;
// Quality of the JPEG files the import and the proxies write.
inline constexpr int kPictureJpegQuality = 80;

// What a picture file is, from its name: JPEG when the file name holds ".jpg" after its first
// character, else PNG for ".png", else GIF for ".gif", else JPEG.
enum class PictureKind { Jpeg, Png, Gif };
PictureKind PictureKindOf(const QString &path);
const char *MimeTypeOf(PictureKind kind);

// An encoder found by its MIME type: a Qt image writer format, or the GIF encoder.
struct ImageEncoder {
    QByteArray qtFormat; // empty for GIF
    bool gif = false;
};
// The first encoder whose MIME type equals mimeType exactly; nullopt when there is none.
std::optional<ImageEncoder> FindEncoder(const QString &mimeType);

// Encodes image with the encoder of mimeType (JPEG at jpegQuality) and replaces path with the
// result in one step. False when there is no encoder, the image is null or nothing was written;
// an existing file at path is then unchanged.
bool WriteImageFile(const QImage &image, const QString &path, const QString &mimeType, int jpegQuality);
// The same with the encoder of the picture's kind.
bool WritePictureFile(const QImage &image, const QString &path, PictureKind kind, int jpegQuality);

// Copies source to target byte for byte; fails, leaving target alone, when target exists.
bool CopyFileWithoutReplacing(const QString &source, const QString &target);

// Turns or mirrors image upright for an EXIF orientation (2 to 8). True when the image was
// changed; other values leave it as it is.
bool CorrectOrientation(QImage &image, int exifOrientation);

// A copy of image reduced so that its longer side is limit pixels (the shorter side the integer
// part of its exact share), in 32-bit ARGB at the default resolution of 96 dots per inch.
QImage ReducedCopy(const QImage &image, int limit);

// Rewrites the picture at path reduced to limit pixels on its longer side, in the encoder of its
// kind (JPEG quality 80). The new file replaces the old in one step: when it cannot be written
// the full-size file stays. False when nothing was rewritten.
bool ReducePictureInPlace(const QString &path, int limit);

// The name a chosen picture gets in the working folder: its file name with ".JPG", else
// ".jpeg", else ".JPEG" replaced by ".jpg". Empty when the file name holds none of ".jpg",
// ".png", ".gif", ".JPG", ".jpeg", ".JPEG" after its first character: such files are not
// imported.
QString ImportedPictureName(const QString &sourcePath);

// The first free path for name in folder: name itself, else with "(n)" inserted before the
// extension, n counting from 1 and each counter added to the name tried before
// (menu.jpg, menu(1).jpg, menu(1)(2).jpg, ...). A name counts as taken when the file or its
// proxy exists, so that a picture is never drawn from another picture's proxy.
QString FreePicturePath(const QString &folder, const QString &name);

QString LowResolutionMessage(int width, int height);

struct ImportedPicture {
    QString path; // in the working folder
    QSize size;   // as decoded; 0 x 0 when the picture cannot be decoded
};

// Shown when a chosen picture could not be copied into the working folder.
QString PictureNotCopiedMessage(const QString &sourcePath);

// Copies the chosen picture into the working folder under a free name: turned upright when its
// EXIF orientation says so, reduced when it is a very large JPEG file, with the low-resolution
// warning through prompter. nullopt when the name is not one of a picture (nothing happens), or
// when the picture could not be stored in the working folder (an unreadable file, a full disk):
// the user is then told and nothing is left behind.
std::optional<ImportedPicture> ImportPictureFile(const QString &sourcePath, const QString &workingFolder,
                                                 Prompter &prompter);

} // namespace tavrin

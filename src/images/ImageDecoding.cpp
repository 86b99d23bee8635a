#include "images/ImageDecoding.h"

#include <QMutex>

#include <deque>
#include <future>
#include <memory>
#include <system_error>
#include <sys/stat.h>

#include "images/ImageResolution.h"
#include "platform/RegularFileReading.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <cmath>
#include <limits>
#include <unistd.h>

namespace tavrin {

namespace {

// The allocation limit belongs to QImageReader as a whole; every decode sets the same value, so
// the order in which parts of the program first decode does not matter.
void ApplyAllocationLimit()
{
    if (QImageReader::allocationLimit() != kDecodeAllocationLimitMB)
        QImageReader::setAllocationLimit(kDecodeAllocationLimitMB);
}

bool StartsAsJpeg(QByteArrayView data)
{
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 && uchar(data[2]) == 0xFF;
}

// The JPEG decoder fills a picture whose data ends early with grey and reports success, so a
// JPEG only counts as whole when its markers can be followed up to the end-of-image marker.
bool JpegReachesEndOfImage(QByteArrayView data)
{
    qsizetype pos = 2; // after the start-of-image marker
    const qsizetype size = data.size();
    while (pos + 1 < size) {
        if (uchar(data[pos]) != 0xFF) {
            ++pos; // stray byte between segments; the decoder skips these too
            continue;
        }
        const uchar marker = uchar(data[pos + 1]);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        pos += 2;
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a length
        if (pos + 1 >= size)
            return false;
        const qsizetype length = (qsizetype(uchar(data[pos])) << 8) | uchar(data[pos + 1]);
        if (length < 2)
            return false;
        pos += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data after a start-of-scan: runs until a marker that is neither a
        // stuffed zero nor a restart marker.
        while (pos < size) {
            const qsizetype ff = data.sliced(pos).indexOf(char(0xFF));
            if (ff < 0)
                return false;
            pos += ff;
            if (pos + 1 >= size)
                return false;
            const uchar next = uchar(data[pos + 1]);
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
                pos += next == 0xFF ? 1 : 2;
                continue;
            }
            break; // a real marker: back to the segment loop
        }
    }
    return false;
}

// The format of the common picture files, told by their first bytes. Naming it spares the reader
// from asking every image plugin in turn (loading each with its libraries) whether it knows the
// content; other files are still recognised that way.
QByteArray FormatBySignature(QByteArrayView data)
{
    if (StartsAsJpeg(data))
        return "jpeg";
    if (data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8)))
        return "png";
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return "gif";
    if (data.startsWith(QByteArrayView("II*\0", 4)) || data.startsWith(QByteArrayView("MM\0*", 4)))
        return "tiff";
    // "BM" alone is too short a signature: the information header's size must be one of the
    // known versions too.
    if (data.size() >= 18 && data.startsWith("BM")) {
        const quint32 infoSize = qFromLittleEndian<quint32>(data.data() + 14);
        if (infoSize == 12 || infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64
            || infoSize == 108 || infoSize == 124)
            return "bmp";
    }
    return {};
}

bool DeclaredSizeAcceptable(const QSize &size)
{
    // Formats that only learn their size while decoding report an invalid size here; the
    // allocation limit bounds those.
    if (!size.isValid())
        return true;
    return qint64(size.width()) * qint64(size.height()) <= kMaxDecodedPixels;
}

// An image keeps its resolution as a whole number of dots per metre; headers can state far more
// than that holds (a TIFF rational of four billion per inch), which is kept as the most it holds.
int WholeDotsPerMetre(double dotsPerMetre)
{
    constexpr double kMost = std::numeric_limits<int>::max();
    return int(std::lround(std::fmin(std::fmax(dotsPerMetre, 1.0), kMost))); // fmax turns NaN into 1
}

// Gives the decoded image the resolution its file states, or 96 dots per inch when it states
// none, so that the image carries the answer wherever it goes. For formats whose header is not
// read here the reader's value is kept unless it is the reader's default for "none".
void SetStatedResolution(QImage &image, const StatedResolution &stated)
{
    constexpr double kMetresPerInch = 0.0254;
    double dpiX = kDefaultDotsPerInch;
    double dpiY = kDefaultDotsPerInch;
    if (stated.headerRead) {
        if (stated.dpiY > 0.0) {
            dpiX = stated.dpiX;
            dpiY = stated.dpiY;
        }
    } else if (image.dotsPerMeterY() != QImage(1, 1, QImage::Format_RGB32).dotsPerMeterY()) {
        return;
    }
    image.setDotsPerMeterX(WholeDotsPerMetre(dpiX / kMetresPerInch));
    image.setDotsPerMeterY(WholeDotsPerMetre(dpiY / kMetresPerInch));
}

} // namespace

namespace {

// A reader over the bytes of an image file that passed the checks every decode makes first.
class CheckedImageReader {
public:
    explicit CheckedImageReader(const QString &path)
    {
        // Only regular files, checked on the opened file: reading a pipe or a device would
        // block or never end. The bytes are read, not mapped, so a file cut short meanwhile
        // cannot fault.
        std::optional<QByteArray> read = ReadRegularFile(path, kMaxImageFileBytes);
        if (!read || read->isEmpty())
            return;
        bytes_ = std::move(*read);
        if (StartsAsJpeg(bytes_) && !JpegReachesEndOfImage(bytes_))
            return;

        ApplyAllocationLimit();
        buffer_.setBuffer(&bytes_);
        buffer_.open(QIODevice::ReadOnly);
        // The content decides the format; the name's extension only helps formats without a
        // signature that the content alone does not reveal.
        QByteArray format = FormatBySignature(bytes_);
        const bool knownBySignature = !format.isEmpty();
        if (!knownBySignature) {
            QImageReader probe(&buffer_);
            if (!probe.canRead())
                format = QFileInfo(path).suffix().toLower().toLatin1();
            buffer_.seek(0);
        }
        reader_.setDevice(&buffer_);
        reader_.setFormat(format);
        reader_.setAutoTransform(false);
        // Otherwise the reader offers even a named format to every plugin first.
        reader_.setAutoDetectImageFormat(!knownBySignature);
        acceptable_ = reader_.canRead() && DeclaredSizeAcceptable(reader_.size());
    }

    bool acceptable() const { return acceptable_; }
    QImageReader &reader() { return reader_; }
    const QByteArray &bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    QBuffer buffer_;
    QImageReader reader_;
    bool acceptable_ = false;
};

// The vertical dots per inch a decode gives an image whose header states this resolution.
int DotsPerInchFromHeader(const StatedResolution &stated)
{
    const double dpiY = stated.dpiY > 0.0 ? stated.dpiY : double(kDefaultDotsPerInch);
    const long rounded = std::lround(WholeDotsPerMetre(dpiY / 0.0254) * 0.0254);
    return rounded > 0 ? int(rounded) : kDefaultDotsPerInch;
}

} // namespace

DecodedImage DecodeImageFile(const QString &path)
{
    DecodedImage decoded;
    CheckedImageReader checked(path);
    if (!checked.acceptable())
        return decoded;
    decoded.transformation = checked.reader().transformation();
    QImage image;
    if (!checked.reader().read(&image) || image.isNull())
        return decoded;
    SetStatedResolution(image, ReadStatedResolution(checked.bytes()));
    decoded.dpiY = VerticalDotsPerInch(image);
    decoded.image = std::move(image);
    return decoded;
}

std::optional<ImageDescription> DescribeImageFile(const QString &path)
{
    {
        CheckedImageReader checked(path);
        if (!checked.acceptable())
            return std::nullopt;
        const StatedResolution stated = ReadStatedResolution(checked.bytes());
        const QSize size = checked.reader().size();
        if (stated.headerRead && size.isValid() && !size.isEmpty())
            return ImageDescription{size, DotsPerInchFromHeader(stated)};
    }
    // Formats whose resolution the header reading here does not know: the decoder tells.
    const DecodedImage decoded = DecodeImageFileCached(path);
    if (decoded.isNull())
        return std::nullopt;
    return ImageDescription{decoded.image.size(), decoded.dpiY};
}

std::optional<QSize> ImagePixelSize(const QString &path)
{
    // Read through a descriptor that was checked to be a regular file: a pipe never blocks.
    QFile file;
    const int fd = OpenRegularFileForReading(path);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    QImageReader reader(&file, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return std::nullopt;
    return size;
}

int VerticalDotsPerInch(const QImage &image)
{
    // Images keep their resolution in whole dots per metre, so the inch value is recovered by
    // rounding. The decoder has already put 96 dots per inch on images that state none.
    const double dpi = image.dotsPerMeterY() * 0.0254;
    const long rounded = std::lround(dpi);
    return rounded > 0 ? int(rounded) : kDefaultDotsPerInch;
}

int ExifOrientation(QImageIOHandler::Transformations transformation)
{
    switch (int(transformation)) {
    case QImageIOHandler::TransformationMirror: return 2;
    case QImageIOHandler::TransformationRotate180: return 3;
    case QImageIOHandler::TransformationFlip: return 4;
    case QImageIOHandler::TransformationFlipAndRotate90: return 5;
    case QImageIOHandler::TransformationRotate90: return 6;
    case QImageIOHandler::TransformationMirrorAndRotate90: return 7;
    case QImageIOHandler::TransformationRotate270: return 8;
    default: return 1;
    }
}

} // namespace tavrin

namespace tavrin {

namespace {

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp &) const = default;
};

std::optional<FileStamp> StampOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size,
                     qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                     qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}

struct CachedDecode {
    QString path;
    FileStamp stamp;
    DecodedImage decoded;
};

// The latest decodes first; bounded in number and in pixel memory.
constexpr int kCachedDecodes = 12;
constexpr qint64 kCachedBytes = 256LL * 1024 * 1024;

QMutex &CacheLock()
{
    static QMutex lock;
    return lock;
}

std::deque<CachedDecode> &Cache()
{
    static std::deque<CachedDecode> cache;
    return cache;
}

// The kept decode of path as it is on disk now, moved to the front; nothing when none is kept.
std::optional<DecodedImage> KeptDecode(const QString &path, const FileStamp &stamp)
{
    QMutexLocker locked(&CacheLock());
    std::deque<CachedDecode> &cache = Cache();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->path == path && it->stamp == stamp) {
            CachedDecode hit = *it;
            cache.erase(it);
            cache.push_front(hit);
            return hit.decoded;
        }
    }
    return std::nullopt;
}

struct AheadDecode {
    QString path;
    FileStamp stamp; // of the file when its decode started
    std::future<DecodedImage> decoded;
};

struct AheadSlot {
    QMutex lock;
    std::optional<AheadDecode> ahead;
    // The thread's whole run, the pictures after the board: waited for by the next decode
    // ahead, or at the end of the program.
    std::future<void> work;
};

AheadSlot &Ahead()
{
    static AheadSlot slot;
    return slot;
}

// The decode started ahead for path, once it has ended, when the file is still the one it read.
std::optional<DecodedImage> TakeAheadDecode(const QString &path, const FileStamp &stamp)
{
    std::optional<AheadDecode> ahead;
    {
        QMutexLocker locked(&Ahead().lock);
        if (!Ahead().ahead || Ahead().ahead->path != path)
            return std::nullopt;
        ahead.swap(Ahead().ahead);
    }
    // A file changed before the decode began is not waited for; one changed while it ran is
    // found out afterwards.
    if (ahead->stamp != stamp)
        return std::nullopt;
    DecodedImage decoded = ahead->decoded.get();
    if (StampOf(path) != stamp)
        return std::nullopt;
    return decoded;
}

} // namespace

void DecodeImageFileAhead(const QString &path, const QStringList &pictures)
{
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp)
        return;
    auto board = std::make_shared<std::promise<DecodedImage>>();
    std::future<DecodedImage> decoded = board->get_future();
    std::future<void> work;
    try {
        work = std::async(std::launch::async, [path, pictures, board] {
            DecodedImage image;
            try {
                image = DecodeImageFile(path);
            } catch (const std::bad_alloc &) {
                // A null image: the render's own decode meets the same shortage and says so.
            }
            board->set_value(std::move(image));
            for (const QString &picture : pictures)
                DecodeImageFileCached(picture);
        });
    } catch (const std::system_error &) {
        return; // no thread to be had: the decode happens when it is needed
    }
    std::optional<AheadDecode> replaced;
    QMutexLocker locked(&Ahead().lock);
    replaced.swap(Ahead().ahead);
    // An earlier run is waited for once the lock is given back.
    std::future<void> earlierWork = std::move(Ahead().work);
    Ahead().ahead = AheadDecode{path, *stamp, std::move(decoded)};
    Ahead().work = std::move(work);
    locked.unlock();
}

DecodedImage DecodeImageFileToPaintOn(const QString &path)
{
    const std::optional<FileStamp> stamp = StampOf(path);
    if (stamp) {
        if (std::optional<DecodedImage> ahead = TakeAheadDecode(path, *stamp))
            return *ahead;
        if (std::optional<DecodedImage> kept = KeptDecode(path, *stamp))
            return *kept;
    }
    return DecodeImageFile(path);
}

DecodedImage DecodeImageFileCached(const QString &path)
{
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp)
        return DecodeImageFile(path);
    if (std::optional<DecodedImage> kept = KeptDecode(path, *stamp))
        return *kept;
    DecodedImage decoded = DecodeImageFile(path);
    // A failure is not kept: the next attempt reads the file again.
    if (decoded.isNull() || StampOf(path) != stamp)
        return decoded;
    QMutexLocker locked(&CacheLock());
    std::deque<CachedDecode> &cache = Cache();
    std::erase_if(cache, [&](const CachedDecode &entry) { return entry.path == path; });
    cache.push_front({path, *stamp, decoded});
    qint64 bytes = 0;
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        bytes += it->decoded.image.sizeInBytes();
        if (it - cache.begin() >= kCachedDecodes || (bytes > kCachedBytes && it != cache.begin())) {
            cache.erase(it, cache.end());
            break;
        }
    }
    return decoded;
}

} // namespace tavrin

#include "layout/LayoutPackage.h"

#include "layout/ArchiveReading.h"
#include "layout/LayoutDocument.h"
#include "layout/LayoutDocumentFile.h"
#include "layout/PathText.h"
#include "layout/WholeMemberInflating.h"
#include "platform/RegularFileReading.h"
#include "platform/SafeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace tavrin {

namespace {

const QString kBackgroundMember = QStringLiteral("Background.jpg");
const QString kDocumentMember = QStringLiteral("Layout.XMARBIX");
const QString kFontListMember = QStringLiteral("FontFileNames.txt");

// The program's own paths use "/" only; a "\" there is part of a Linux file name.
qsizetype LastSlash(const QString &path) { return path.lastIndexOf(u'/'); }
QString FolderWithSlash(const QString &path) { return path.left(LastSlash(path) + 1); }
QString OwnFileName(const QString &path) { return path.mid(LastSlash(path) + 1); }

QByteArray Utf16LeBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && LastSeparatorIndex(name) < 0 && !name.contains(QChar(0));
}

QString OldNamePackagePath(const QString &packagePath)
{
    return FolderWithSlash(packagePath) + OwnFileName(packagePath).remove(QStringLiteral("_LAYOUT"));
}

enum class AddResult { Added, Missing, Failed };

// Adds the file at sourcePath under memberName, counting its bytes into total. A file that does
// not exist is left out (a picture already missing when the layout was opened); one that exists
// but cannot be read spoils the archive, since the save would otherwise report success while
// dropping it. A failure while writing the archive spoils it too, and so does a member the
// unpacking would refuse (a name that is not a plain file name, a file larger than the limits
// allow): a package that cannot be reopened whole is never written.
AddResult AddFileToArchive(zipFile archive, const QString &sourcePath, const QString &memberName,
                           const UnpackLimits &limits, std::int64_t &total)
{
    QFile source(sourcePath);
    const QFileInfo info(sourcePath);
    if (sourcePath.isEmpty() || (!info.exists() && !info.isSymLink()))
        return AddResult::Missing;
    if (!info.isFile() || !source.open(QIODevice::ReadOnly))
        return AddResult::Failed;
    if (!IsPlainFileName(memberName) || info.size() > limits.maxMemberBytes
        || total + info.size() > limits.maxTotalBytes)
        return AddResult::Failed;

    zip_fileinfo zipInfo{};
    const QDateTime modified = info.lastModified();
    zipInfo.tmz_date.tm_sec = uInt(modified.time().second());
    zipInfo.tmz_date.tm_min = uInt(modified.time().minute());
    zipInfo.tmz_date.tm_hour = uInt(modified.time().hour());
    zipInfo.tmz_date.tm_mday = uInt(modified.date().day());
    zipInfo.tmz_date.tm_mon = uInt(modified.date().month() - 1);
    zipInfo.tmz_date.tm_year = uInt(qMax(1980, modified.date().year()));

    const QByteArray name = memberName.toUtf8();
    bool ascii = true;
    for (char c : name)
        ascii = ascii && (uchar(c) < 0x80);
    const uLong utf8NameFlag = ascii ? 0 : (1u << 11);
    const int zip64 = info.size() >= 0xffffffffLL ? 1 : 0;
    if (zipOpenNewFileInZip4_64(archive, name.constData(), &zipInfo, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                                utf8NameFlag, zip64)
        != ZIP_OK)
        return AddResult::Failed;

    bool ok = true;
    std::int64_t written = 0;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const qint64 n = source.read(buffer.data(), qint64(buffer.size()));
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        // A file that grew while it was packed is held to the same limits.
        written += n;
        if (written > limits.maxMemberBytes || total + written > limits.maxTotalBytes) {
            ok = false;
            break;
        }
        if (zipWriteInFileInZip(archive, buffer.data(), unsigned(n)) != ZIP_OK) {
            ok = false;
            break;
        }
    }
    ok = zipCloseFileInZip(archive) == ZIP_OK && ok;
    total += written;
    return ok ? AddResult::Added : AddResult::Failed;
}

bool SameFile(const QByteArray &a, const QByteArray &b)
{
    struct stat sa, sb;
    return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev
           && sa.st_ino == sb.st_ino;
}

} // namespace

bool WriteFontListFile(const QString &workingFolder, const QString &fontListText)
{
    return WriteFileReplacing(workingFolder + u'/' + kFontListMember, Utf16LeBytes(fontListText));
}

QString BuildLayoutPackage(const QString &packagePath, const PackageSources &sources, const UnpackLimits &limits)
{
    if (packagePath.isEmpty() || OwnFileName(packagePath).isEmpty())
        return {};

    // The document and the font list are written before the archive is started, so that a
    // failure there leaves no half-built archive behind.
    const QString background =
        sources.fromPackage ? sources.workingFolder + u'/' + kBackgroundMember : sources.backgroundImagePath;
    // The document is written into the working folder whatever the background's folder: beside
    // a background the user loaded from their own pictures it would leave a file there, or
    // replace a "Layout.XMARBIX" of theirs.
    const QString documentFolder = sources.workingFolder + u'/';
    if (!sources.fromPackage)
        QDir().mkpath(sources.workingFolder);
    const QString documentPath = documentFolder + kDocumentMember;
    const QString document =
        BuildLayoutDocument(sources.layout, documentFolder + kBackgroundMember, DocumentForm::ForPackage);
    if (!WriteFileReplacing(documentPath, StoredDocumentBytes(document)))
        return {};
    // Each font file goes in once, under a name no other member has, and the list file is
    // written from the same pairs.
    QSet<QString> takenNames{kBackgroundMember.toLower(), kDocumentMember.toLower(), kFontListMember.toLower()};
    sources.layout.forEachBoardStrip([&](int, int, const Strip &strip) {
        if (!strip.Picture.SubImageFileName.isEmpty())
            takenNames.insert(FileNamePart(strip.Picture.SubImageFileName).toLower());
    });
    const PackedFontList fonts = PackFontList(sources.fontList, takenNames);
    if (!WriteFontListFile(sources.workingFolder, fonts.listText))
        return {};

    // A name of its own, made exclusively: a file of the user's beside the package (an
    // "Lunch_LAYOUT.zip" of their own) is never taken for a stale temporary and overwritten.
    const QString tempPath = CreateTemporaryBeside(packagePath);
    if (tempPath.isEmpty())
        return {};
    const QByteArray tempName = QFile::encodeName(tempPath);
    zipFile archive = zipOpen64(tempName.constData(), APPEND_STATUS_CREATE);
    if (!archive) {
        ::unlink(tempName.constData());
        return {};
    }

    bool failed = false;
    std::int64_t total = 0;
    int members = 0;
    auto add = [&](const QString &source, const QString &member) {
        if (failed)
            return;
        const AddResult added = AddFileToArchive(archive, source, member, limits, total);
        failed = added == AddResult::Failed || (added == AddResult::Added && ++members > limits.maxMembers);
    };
    add(background, kBackgroundMember);
    add(documentPath, kDocumentMember);
    sources.layout.forEachBoardStrip([&](int, int, const Strip &strip) {
        const QString &picture = strip.Picture.SubImageFileName;
        if (!picture.isEmpty())
            add(picture, FileNamePart(picture));
    });
    for (const PackedFontFile &font : fonts.files)
        add(font.fontFile, font.memberName);
    add(sources.workingFolder + u'/' + kFontListMember, kFontListMember);

    // A write error (a full disk) gives a damaged archive: it must never replace the package.
    if (zipClose(archive, nullptr) != ZIP_OK || failed || !SyncFileToDisk(tempPath)) {
        ::unlink(tempName.constData());
        return {};
    }
    return tempPath;
}

QString RemoveOldNamePackage(const QString &packagePath)
{
    const QString oldPath = OldNamePackagePath(packagePath);
    const QByteArray oldName = QFile::encodeName(oldPath);
    const QByteArray packageName = QFile::encodeName(packagePath);
    struct stat st;
    if (oldPath != packagePath && !SameFile(oldName, packageName) && ::lstat(oldName.constData(), &st) == 0
        && S_ISREG(st.st_mode) && ::unlink(oldName.constData()) == 0)
        return QString::fromUtf8(kNewFilingSystemMessage);
    return {};
}

bool PutLayoutPackageInPlace(const QString &packagePath, const PackageSources &sources, const UnpackLimits &limits)
{
    // A package that may not be replaced is refused before anything is built.
    if (!MayReplaceFile(packagePath))
        return false;
    const QString tempPath = BuildLayoutPackage(packagePath, sources, limits);
    if (tempPath.isEmpty())
        return false;
    // One atomic rename replaces the old package: there is no moment without a package, and
    // the replaced package's permission bits stay.
    return TakePermissionsOf(packagePath, tempPath) && ReplaceAllOrNone({{tempPath, packagePath}});
}

bool WriteLayoutPackage(const QString &packagePath, const PackageSources &sources, Prompter &prompter,
                        const UnpackLimits &limits)
{
    if (!PutLayoutPackageInPlace(packagePath, sources, limits))
        return false;
    const QString notice = RemoveOldNamePackage(packagePath);
    if (!notice.isEmpty())
        prompter.showMessage(notice);
    return true;
}

namespace {

QString MemberNameText(const QByteArray &raw, uLong flags)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(raw);
    if ((flags & (1u << 11)) || !utf8.hasError())
        return decoded;
    return QString::fromLatin1(raw);
}

bool IsLinkMember(const unz_file_info64 &info)
{
    const bool madeOnUnix = (info.version >> 8) == 3;
    return madeOnUnix && ((info.external_fa >> 16) & S_IFMT) == S_IFLNK;
}

std::uint64_t LittleEndian(const QByteArray &bytes, qsizetype at, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | uchar(bytes[at + i]);
    return value;
}

// Sizes of 0xFFFFFFFF in the central directory stand for the 64-bit values of the member's zip64
// extra field ("zip -fz" writes them even for small files). The zip library's own reading of
// that field misses them on 64-bit systems, so they are taken here.
void TakeZip64Sizes(const QByteArray &extra, unz_file_info64 &info)
{
    constexpr std::uint64_t kMarker = 0xffffffffu;
    for (qsizetype at = 0; at + 4 <= extra.size();) {
        const auto id = LittleEndian(extra, at, 2);
        const auto size = qsizetype(LittleEndian(extra, at + 2, 2));
        const qsizetype data = at + 4;
        if (data + size > extra.size())
            return;
        if (id == 0x0001) {
            qsizetype field = data;
            if (info.uncompressed_size == kMarker && field + 8 <= data + size) {
                info.uncompressed_size = LittleEndian(extra, field, 8);
                field += 8;
            }
            if (info.compressed_size == kMarker && field + 8 <= data + size)
                info.compressed_size = LittleEndian(extra, field, 8);
            return;
        }
        at = data + size;
    }
}

// Creates a new file for a member being unpacked under a name no file in the folder has yet
// (never removing one, even a member that happens to bear such a name). Returns its descriptor
// and sets name, or -1 when no file can be created.
int CreateUnpackingFile(int folder, QByteArray &name)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        name = ".unpacking-" + QByteArray::number(attempt);
        const int fd = ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

namespace {

// A member that may be unpacked, as the listing found it.
struct Member {
    unz64_file_pos position{};
    unz_file_info64 info{};
    QString name; // its plain file name
};

bool IsDocumentMember(const QString &name)
{
    return name == kDocumentMember
           || (!name.contains(QStringLiteral("MARBIXBGD")) && name.contains(QStringLiteral("MarbixLayout")));
}

bool IsFontFileName(const QString &name)
{
    static const QStringList extensions{".ttf", ".otf", ".ttc", ".otc", ".pfb", ".pfa", ".fon", ".fnt"};
    for (const QString &extension : extensions) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// The picture names the document gives, as the package holds them (their file-name parts).
QSet<QString> PicturesOfDocument(const QString &documentText)
{
    class PictureNames : public LayoutReaderHost {
    public:
        QSet<QString> names;
        void resolveBackground(const QString &) override {}
        QString resolvePicture(const QString &subImageFileName) override
        {
            names.insert(FileNamePart(subImageFileName));
            return {};
        }
        void checkFont(const QString &, const QString &) override {}
    } host;
    auto layout = std::make_unique<MenuLayout>();
    ReadLayoutDocument(documentText, *layout, host);
    return host.names;
}

// The font file names "FontFileNames.txt" lists: "face,file;" entries.
QSet<QString> FontsOfList(const QByteArray &bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8)));
    QSet<QString> names;
    for (const QString &entry : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype comma = entry.indexOf(u',');
        if (comma >= 0)
            names.insert(entry.mid(comma + 1));
    }
    return names;
}

enum class Extraction { Extracted, Refused, TooLarge, Unwritten };

class Unpacker {
public:
    Unpacker(unzFile archive, int folder, const UnpackLimits &limits, UnpackResult &result)
        : archive_(archive), folder_(folder), limits_(limits), result_(result), buffer_(1 << 16)
    {
    }

    // Writes the member into the folder as fileName, counting the outcome into the result.
    Extraction extract(const Member &member, const QByteArray &fileName)
    {
        const Extraction outcome = write(member, fileName);
        switch (outcome) {
        case Extraction::Extracted: ++result_.extracted; break;
        case Extraction::Refused:
        case Extraction::TooLarge: ++result_.refused; break;
        case Extraction::Unwritten: ++result_.unwritten; break;
        }
        return outcome;
    }

private:
    Extraction write(Member member, const QByteArray &fileName)
    {
        const std::int64_t size = std::int64_t(member.info.uncompressed_size);
        if (size > limits_.maxMemberBytes || total_ + size > limits_.maxTotalBytes)
            return Extraction::TooLarge;
        if (unzGoToFilePos64(archive_, &member.position) != UNZ_OK)
            return Extraction::Refused;
        const WholeMemberInflater::Outcome inflation = inflater_.inflate(archive_, member.info, whole_);
        if (inflation == WholeMemberInflater::Outcome::Damaged)
            return Extraction::Refused;
        const bool streamed = inflation == WholeMemberInflater::Outcome::Streamed;
        if (streamed
            && (unzGoToFilePos64(archive_, &member.position) != UNZ_OK || unzOpenCurrentFile(archive_) != UNZ_OK))
            return Extraction::Refused;
        QByteArray partName;
        const int out = CreateUnpackingFile(folder_, partName);
        if (out < 0) {
            if (streamed)
                unzCloseCurrentFile(archive_);
            return Extraction::Unwritten;
        }
        Written written;
        if (streamed)
            stream(member, out, written);
        else
            written.writeFailed = !WriteAll(out, whole_.data(), size);
        written.writeFailed = ::close(out) != 0 || written.writeFailed;
        // Only a complete, checked member takes its name, replacing an earlier one of that name.
        if (!written.damaged && !written.writeFailed
            && ::renameat(folder_, partName.constData(), folder_, fileName.constData()) != 0)
            written.writeFailed = true;
        if (written.damaged || written.writeFailed) {
            ::unlinkat(folder_, partName.constData(), 0);
            return written.writeFailed ? Extraction::Unwritten
                   : written.tooLarge  ? Extraction::TooLarge
                                       : Extraction::Refused;
        }
        total_ += size;
        return Extraction::Extracted;
    }

    struct Written {
        bool damaged = false, tooLarge = false, writeFailed = false;
    };

    // Inflates the opened member through zlib's stream into out, finding out how large it is.
    void stream(const Member &member, int out, Written &outcome)
    {
        const std::int64_t size = std::int64_t(member.info.uncompressed_size);
        std::int64_t written = 0;
        uLong crc = crc32(0, nullptr, 0);
        for (;;) {
            const int n = unzReadCurrentFile(archive_, buffer_.data(), unsigned(buffer_.size()));
            if (n < 0) {
                outcome.damaged = true;
                break;
            }
            if (n == 0)
                break;
            written += n;
            // Larger than its header said: held to the limits all the same.
            if (written > size || written > limits_.maxMemberBytes || total_ + written > limits_.maxTotalBytes) {
                outcome.tooLarge = written > limits_.maxMemberBytes || total_ + written > limits_.maxTotalBytes;
                outcome.damaged = true;
                break;
            }
            crc = crc32(crc, reinterpret_cast<const Bytef *>(buffer_.data()), uInt(n));
            if (!WriteAll(out, buffer_.data(), n)) {
                outcome.writeFailed = true;
                break;
            }
        }
        // The CRC is checked here as well as by the zip library, which skips it when a member's
        // size came from a zip64 field; a short member is damaged too.
        const bool checked =
            unzCloseCurrentFile(archive_) == UNZ_OK && written == size && crc == member.info.crc;
        outcome.damaged = outcome.damaged || (!outcome.writeFailed && !checked);
    }

    unzFile archive_;
    int folder_;
    const UnpackLimits &limits_;
    UnpackResult &result_;
    std::int64_t total_ = 0;
    std::vector<char> buffer_;
    WholeMemberInflater inflater_;
    std::vector<char> whole_;
};

// The members that may be unpacked at all, in archive order; the others are counted as refused.
std::vector<Member> ListMembers(unzFile archive, const UnpackLimits &limits, UnpackResult &result)
{
    std::vector<Member> members;
    int count = 0;
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        if (++count > limits.maxMembers) {
            ++result.refused;
            break;
        }
        Member member;
        if (unzGetCurrentFileInfo64(archive, &member.info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
            || unzGetFilePos64(archive, &member.position) != UNZ_OK) {
            ++result.refused;
            continue;
        }
        QByteArray rawName(qsizetype(member.info.size_filename), '\0');
        QByteArray extra(qsizetype(member.info.size_file_extra), '\0');
        unzGetCurrentFileInfo64(archive, &member.info, rawName.data(), uLong(rawName.size()), extra.data(),
                                uLong(extra.size()), nullptr, 0);
        TakeZip64Sizes(extra, member.info);
        // Only the plain file name counts: folders in the name never lead out of the working folder.
        member.name = FileNamePart(MemberNameText(rawName, member.info.flag));
        const bool encrypted = member.info.flag & 1u;
        if (!IsPlainFileName(member.name) || encrypted || IsLinkMember(member.info)) {
            ++result.refused;
            continue;
        }
        members.push_back(std::move(member));
    }
    return members;
}

} // namespace

UnpackResult UnpackLayoutPackage(const QString &packagePath, const QString &workingFolder, const UnpackLimits &limits)
{
    UnpackResult result;
    unzFile archive = OpenArchiveForReading(packagePath);
    if (!archive)
        return result;
    result.opened = true;
    QDir().mkpath(workingFolder);
    const int folder = ::open(QFile::encodeName(workingFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        unzClose(archive);
        ++result.unwritten;
        return result;
    }
    const std::vector<Member> members = ListMembers(archive, limits, result);
    Unpacker unpacker(archive, folder, limits, result);
    const auto extractNeeded = [&](const Member &member, const QString &fileName) {
        if (unpacker.extract(member, QFile::encodeName(fileName)) == Extraction::TooLarge)
            ++result.missing;
    };

    // The document comes first: it says which of the other members the layout uses. A member of
    // the current name wins over one of an older version's name.
    const Member *document = nullptr;
    for (const Member &member : members) {
        if (member.name == kDocumentMember || (!document && IsDocumentMember(member.name)))
            document = &member;
    }
    QSet<QString> pictures;
    if (document) {
        extractNeeded(*document, kDocumentMember);
        if (const std::optional<QString> text = ReadLayoutDocumentFile(workingFolder + u'/' + kDocumentMember))
            pictures = PicturesOfDocument(*text);
    }
    QSet<QString> fonts;
    for (const Member &member : members) {
        if (member.name != kFontListMember)
            continue;
        extractNeeded(member, kFontListMember);
        constexpr qint64 kMaxFontListBytes = qint64(16) << 20;
        if (const std::optional<QByteArray> list =
                ReadRegularFile(workingFolder + u'/' + kFontListMember, kMaxFontListBytes))
            fonts = FontsOfList(*list);
    }

    // Then the background, the pictures the document names and the fonts; members nothing uses
    // are left in the archive.
    for (const Member &member : members) {
        const QString &name = member.name;
        if (IsDocumentMember(name) || name == kFontListMember)
            continue;
        const bool legacyBackground = name.contains(QStringLiteral("MARBIXBGD"));
        const bool used = name == kBackgroundMember || legacyBackground || pictures.contains(name)
                          || fonts.contains(name) || IsFontFileName(name);
        if (!used) {
            ++result.skipped;
            continue;
        }
        const QByteArray fileName = QFile::encodeName(name);
        if (unpacker.extract(member, fileName) == Extraction::TooLarge) {
            ++result.missing;
            continue;
        }
        // A background of an older version gets the current name unless a file has it already.
        if (legacyBackground)
            RenameWithoutReplacing(folder, fileName.constData(), "Background.jpg");
    }
    ::close(folder);
    unzClose(archive);
    return result;
}

} // namespace tavrin

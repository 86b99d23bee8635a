#include "layout/LayoutPackage.h"

#include "layout/LayoutDocument.h"
#include "layout/PathText.h"
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

void RemoveOldNamePackage(const QString &packagePath, Prompter &prompter)
{
    const QString oldPath = OldNamePackagePath(packagePath);
    const QByteArray oldName = QFile::encodeName(oldPath);
    const QByteArray packageName = QFile::encodeName(packagePath);
    struct stat st;
    if (oldPath != packagePath && !SameFile(oldName, packageName) && ::lstat(oldName.constData(), &st) == 0
        && S_ISREG(st.st_mode) && ::unlink(oldName.constData()) == 0)
        prompter.showMessage(QString::fromUtf8(kNewFilingSystemMessage));
}

bool WriteLayoutPackage(const QString &packagePath, const PackageSources &sources, Prompter &prompter,
                        const UnpackLimits &limits)
{
    // A package that may not be replaced is refused before anything is built.
    if (!MayReplaceFile(packagePath))
        return false;
    const QString tempPath = BuildLayoutPackage(packagePath, sources, limits);
    if (tempPath.isEmpty())
        return false;
    // One atomic rename replaces the old package: there is no moment without a package, and
    // the replaced package's permission bits stay.
    if (!TakePermissionsOf(packagePath, tempPath) || !ReplaceAllOrNone({{tempPath, packagePath}}))
        return false;
    RemoveOldNamePackage(packagePath, prompter);
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

UnpackResult UnpackLayoutPackage(const QString &packagePath, const QString &workingFolder, const UnpackLimits &limits)
{
    UnpackResult result;
    unzFile archive = unzOpen64(QFile::encodeName(packagePath).constData());
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

    std::int64_t total = 0;
    int members = 0;
    std::vector<char> buffer(1 << 16);
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        if (++members > limits.maxMembers) {
            ++result.refused;
            break;
        }
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            ++result.refused;
            continue;
        }
        QByteArray rawName(qsizetype(info.size_filename), '\0');
        unzGetCurrentFileInfo64(archive, &info, rawName.data(), uLong(rawName.size()), nullptr, 0, nullptr, 0);
        // Only the plain file name counts: folders in the name never lead out of the working folder.
        const QString name = FileNamePart(MemberNameText(rawName, info.flag));
        const bool encrypted = info.flag & 1u;
        if (total + std::int64_t(info.uncompressed_size) > limits.maxTotalBytes) {
            ++result.refused; // the package as a whole is too large: extract no more
            break;
        }
        if (!IsPlainFileName(name) || encrypted || IsLinkMember(info)
            || std::int64_t(info.uncompressed_size) > limits.maxMemberBytes) {
            ++result.refused;
            continue;
        }
        if (unzOpenCurrentFile(archive) != UNZ_OK) {
            ++result.refused;
            continue;
        }
        const QByteArray fileName = QFile::encodeName(name);
        QByteArray partName;
        const int out = CreateUnpackingFile(folder, partName);
        if (out < 0) {
            unzCloseCurrentFile(archive);
            ++result.unwritten;
            continue;
        }
        bool damaged = false;
        bool writeFailed = false;
        bool overTotal = false;
        std::int64_t written = 0;
        for (;;) {
            const int n = unzReadCurrentFile(archive, buffer.data(), unsigned(buffer.size()));
            if (n < 0) {
                damaged = true;
                break;
            }
            if (n == 0)
                break;
            written += n;
            if (written > limits.maxMemberBytes || total + written > limits.maxTotalBytes) {
                overTotal = total + written > limits.maxTotalBytes;
                damaged = true; // larger than its header said
                break;
            }
            if (!WriteAll(out, buffer.data(), n)) {
                writeFailed = true;
                break;
            }
        }
        // The CRC is checked when the whole member was read; a short member is damaged too.
        const bool checked = unzCloseCurrentFile(archive) == UNZ_OK && written == std::int64_t(info.uncompressed_size);
        damaged = damaged || (!writeFailed && !checked);
        writeFailed = ::close(out) != 0 || writeFailed;
        // Only a complete, checked member takes its name, replacing an earlier one of that name.
        if (!damaged && !writeFailed && ::renameat(folder, partName.constData(), folder, fileName.constData()) != 0)
            writeFailed = true;
        if (damaged || writeFailed) {
            ::unlinkat(folder, partName.constData(), 0);
            if (writeFailed)
                ++result.unwritten;
            else
                ++result.refused;
            if (overTotal)
                break;
            continue;
        }
        total += written;
        ++result.extracted;

        // Members of older versions get their current names; an existing file of that name wins.
        const char *newName = name.contains(QStringLiteral("MARBIXBGD"))      ? "Background.jpg"
                              : name.contains(QStringLiteral("MarbixLayout")) ? "Layout.XMARBIX"
                                                                              : nullptr;
        if (newName)
            RenameWithoutReplacing(folder, fileName.constData(), newName);
    }
    ::close(folder);
    unzClose(archive);
    return result;
}

} // namespace tavrin

#include "prices/PriceListFile.h"

#include "layout/ArchiveReading.h"
#include "prices/PriceListXlsx.h"
#include "platform/RegularFileReading.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

namespace {

const QStringList kWholeNumberColumns = {QStringLiteral("column"), QStringLiteral("row"), QStringLiteral("line"),
                                         QStringLiteral("entry")};

PriceListReading Failure(const QString &why)
{
    PriceListReading reading;
    reading.errors << why;
    return reading;
}

QString Megabytes(qint64 bytes) { return QString::number(double(bytes) / double(1 << 20), 'f', 0); }

// Whether the zip archive at path holds a layout document ("Layout.XMARBIX", or the
// "...MarbixLayout..." member of an older version).
bool HoldsLayoutDocument(const QString &path)
{
    unzFile archive = OpenArchiveForReading(path);
    if (!archive)
        return false;
    bool found = false;
    for (int result = unzGoToFirstFile(archive); result == UNZ_OK && !found; result = unzGoToNextFile(archive)) {
        char name[1024];
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        const QString member = QString::fromUtf8(name);
        const QString plain = member.mid(std::max(member.lastIndexOf(u'/'), member.lastIndexOf(u'\\')) + 1);
        found = plain.endsWith(QLatin1String(".XMARBIX"), Qt::CaseInsensitive);
    }
    unzClose(archive);
    return found;
}

} // namespace

PriceListReading ReadPriceListBytes(const QByteArray &bytes)
{
    if (bytes.startsWith("\xD0\xCF\x11\xE0"))
        return Failure(QStringLiteral("the file is an older Excel workbook (.xls); save it as .xlsx or .csv"));
    if (!LooksLikeZip(bytes))
        return ReadPriceListCsv(bytes);
    QString error;
    const auto records = ReadXlsxTable(bytes, &error);
    if (!records)
        return Failure(error);
    return RowsOfTable(*records);
}

PriceListReading ReadPriceListFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Failure(QStringLiteral("there is no such file"));
    const int fd = OpenRegularFileForReading(path);
    if (fd < 0)
        return Failure(info.isFile() ? QStringLiteral("the file cannot be read")
                                     : QStringLiteral("not a regular file (a device, a pipe or a folder); only a saved "
                                                      "list is read"));
    struct stat st;
    const bool tooLarge = ::fstat(fd, &st) == 0 && st.st_size > kMaxPriceListBytes;
    ::close(fd);
    if (tooLarge)
        return Failure(QStringLiteral("the file is larger than %1 MB; a price list is far smaller").arg(Megabytes(kMaxPriceListBytes)));
    const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxPriceListBytes);
    if (!bytes)
        return Failure(QStringLiteral("the file cannot be read whole (or grew past %1 MB while it was read)")
                           .arg(Megabytes(kMaxPriceListBytes)));
    return ReadPriceListBytes(*bytes);
}

bool IsXlsxName(const QString &path) { return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive); }

bool WritePriceListFile(const QString &path, const std::vector<PriceRow> &rows, QString *error)
{
    QByteArray bytes;
    if (IsXlsxName(path)) {
        const std::optional<QByteArray> workbook = WriteXlsxTable(PriceListCells(rows), kWholeNumberColumns, error);
        if (!workbook)
            return false;
        bytes = *workbook;
    } else {
        bytes = WritePriceListCsv(rows);
    }
    if (!WriteFileReplacing(path, bytes)) {
        *error = QStringLiteral("the file cannot be written");
        return false;
    }
    return true;
}

QString ListedLayoutName(const QString &listFolder, const QString &layoutPath)
{
    return QDir(QFileInfo(listFolder).absoluteFilePath()).relativeFilePath(QFileInfo(layoutPath).absoluteFilePath());
}

ListedLayout ResolveListedLayout(const QString &listFolder, const QString &named, bool allowOutside)
{
    QString name = named;
    name.replace(u'\\', u'/');
    const QString folder = QDir::cleanPath(QFileInfo(listFolder).absoluteFilePath());
    const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
    const auto refuse = [&named](const QString &why) { return ListedLayout{QString(), QStringLiteral("\"%1\" ").arg(named) + why}; };
    const bool inside = path.startsWith(folder == QLatin1String("/") ? folder : folder + QLatin1Char('/'));
    if (!allowOutside) {
        if (!inside)
            return refuse(QStringLiteral("is outside the list's folder %1 (--allow-outside lets a list name it)").arg(folder));
        // Every step below the list's folder, the layout itself included, is a real folder or file.
        QString step = folder;
        for (const QString &part : path.mid(folder.size()).split(u'/', Qt::SkipEmptyParts)) {
            step += QLatin1Char('/') + part;
            if (QFileInfo(step).isSymLink())
                return refuse(QStringLiteral("is reached through the link %1 (--allow-outside lets a list follow it)").arg(step));
        }
    }
    const QFileInfo file(path);
    if (!file.exists())
        return refuse(QStringLiteral("does not exist (%1)").arg(path));
    if (!file.isFile() || !path.endsWith(QLatin1String(".MARBIX"), Qt::CaseInsensitive) || !HoldsLayoutDocument(path))
        return refuse(QStringLiteral("is not a layout package (%1)").arg(path));
    return {path, QString()};
}

} // namespace tavrin

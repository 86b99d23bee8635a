#include "prices/PriceListXlsx.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <minizip/unzip.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace tavrin {

namespace {

constexpr qint64 kMaxMemberBytes = qint64(64) << 20;

// ---- Writing ------------------------------------------------------------------------------

double ColumnWidth(const QString &name)
{
    if (name == QLatin1String("layout"))
        return 36.0;
    if (name == QLatin1String("main_item"))
        return 26.0;
    return std::max(9.0, double(name.size()) + 2.0);
}

// ---- Reading ------------------------------------------------------------------------------

// The archive read from memory: minizip's file functions over the bytes.
struct MemoryStream {
    const QByteArray *bytes = nullptr;
    ZPOS64_T position = 0;
};

voidpf OpenMemory(voidpf opaque, const void *, int)
{
    return new MemoryStream{static_cast<const QByteArray *>(opaque), 0};
}

uLong ReadMemory(voidpf, voidpf stream, void *buffer, uLong size)
{
    auto *s = static_cast<MemoryStream *>(stream);
    const ZPOS64_T total = ZPOS64_T(s->bytes->size());
    const ZPOS64_T n = s->position >= total ? 0 : std::min<ZPOS64_T>(size, total - s->position);
    if (n > 0)
        std::memcpy(buffer, s->bytes->constData() + s->position, size_t(n));
    s->position += n;
    return uLong(n);
}

uLong WriteMemory(voidpf, voidpf, const void *, uLong) { return 0; }
ZPOS64_T TellMemory(voidpf, voidpf stream) { return static_cast<MemoryStream *>(stream)->position; }

long SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto *s = static_cast<MemoryStream *>(stream);
    const ZPOS64_T total = ZPOS64_T(s->bytes->size());
    ZPOS64_T base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = s->position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = total;
    else if (origin != ZLIB_FILEFUNC_SEEK_SET)
        return -1;
    if (offset > total || base > total - offset)
        return -1;
    s->position = base + offset;
    return 0;
}

int CloseMemory(voidpf, voidpf stream)
{
    delete static_cast<MemoryStream *>(stream);
    return 0;
}

int MemoryError(voidpf, voidpf) { return 0; }

struct ArchiveCloser {
    void operator()(void *archive) const { unzClose(archive); }
};
using Archive = std::unique_ptr<void, ArchiveCloser>;

Archive OpenMemoryArchive(const QByteArray &bytes)
{
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenMemory;
    functions.zread_file = ReadMemory;
    functions.zwrite_file = WriteMemory;
    functions.ztell64_file = TellMemory;
    functions.zseek64_file = SeekMemory;
    functions.zclose_file = CloseMemory;
    functions.zerror_file = MemoryError;
    functions.opaque = const_cast<QByteArray *>(&bytes);
    return Archive(unzOpen2_64("", &functions));
}

// A member of the archive (names compared without case, as the package format does); nothing
// when it is not there. A member that is larger than the limit or damaged sets error.
std::optional<QByteArray> ReadMember(void *archive, const QString &name, QString *error)
{
    if (unzLocateFile(archive, name.toUtf8().constData(), 2) != UNZ_OK)
        return std::nullopt;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
        || info.uncompressed_size > ZPOS64_T(kMaxMemberBytes) || unzOpenCurrentFile(archive) != UNZ_OK) {
        *error = name + QStringLiteral(" cannot be read or is larger than 64 MB");
        return std::nullopt;
    }
    QByteArray bytes;
    char chunk[1 << 16];
    for (;;) {
        const int n = unzReadCurrentFile(archive, chunk, sizeof chunk);
        if (n < 0 || bytes.size() + n > kMaxMemberBytes) {
            unzCloseCurrentFile(archive);
            *error = name + QStringLiteral(" is damaged or larger than 64 MB");
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(chunk, n);
    }
    if (unzCloseCurrentFile(archive) != UNZ_OK) {
        *error = name + QStringLiteral(" is damaged (its checksum does not match)");
        return std::nullopt;
    }
    return bytes;
}

// The text of a rich text element (a shared string's <si> or a cell's <is>): its <t> runs one
// after another, without the phonetic runs (<rPh>) some East Asian sheets add. Reads up to the
// element's end.
QString RichText(QXmlStreamReader &xml)
{
    QString text;
    int phonetic = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
        }
    }
    return text;
}

// A number cell's value in its shortest form that reads back as the same double.
QString NumberText(const QString &value)
{
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return value.trimmed();
    return QString::number(number, 'g', 15);
}

// The column of a cell reference ("C7" is 2); -1 for a reference without one.
int ColumnOfReference(QStringView reference)
{
    int column = 0;
    int letters = 0;
    for (QChar c : reference) {
        if (c >= u'A' && c <= u'Z')
            column = column * 26 + (c.unicode() - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            column = column * 26 + (c.unicode() - u'a' + 1);
        else
            break;
        if (++letters > 3)
            return -1;
    }
    return letters == 0 ? -1 : column - 1;
}

QString XmlFailure(const QString &member, const QXmlStreamReader &xml)
{
    return QStringLiteral("%1 is not readable XML (line %2: %3)").arg(member).arg(xml.lineNumber()).arg(xml.errorString());
}

// The member of the workbook's first sheet, as the workbook and its relations name it.
QString FirstSheetMember(void *archive, QString *error)
{
    const QString fallback = QStringLiteral("xl/worksheets/sheet1.xml");
    const std::optional<QByteArray> workbook = ReadMember(archive, QStringLiteral("xl/workbook.xml"), error);
    if (!workbook)
        return QString();
    QString relation;
    {
        QXmlStreamReader xml(*workbook);
        while (!xml.atEnd() && relation.isEmpty()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("sheet"))
                for (const QXmlStreamAttribute &attribute : xml.attributes())
                    if (attribute.name() == QLatin1String("id"))
                        relation = attribute.value().toString();
        }
    }
    const std::optional<QByteArray> relations =
        ReadMember(archive, QStringLiteral("xl/_rels/workbook.xml.rels"), error);
    if (relation.isEmpty() || !relations)
        return fallback;
    QXmlStreamReader xml(*relations);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("Relationship")
            || xml.attributes().value(QLatin1String("Id")) != relation)
            continue;
        QString target = xml.attributes().value(QLatin1String("Target")).toString();
        if (target.startsWith(u'/'))
            return target.mid(1);
        while (target.startsWith(QLatin1String("./")))
            target = target.mid(2);
        return QStringLiteral("xl/") + target;
    }
    return fallback;
}

} // namespace

std::optional<QByteArray> WriteXlsxTable(const std::vector<QStringList> &cells, const QStringList &wholeNumberColumns,
                                         QString *error)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        *error = QStringLiteral("no temporary folder for the workbook");
        return std::nullopt;
    }
    const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("list.xlsx")));
    QByteArray temporaries = QFile::encodeName(folder.path());
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    options.tmpdir = temporaries.data();
    lxw_workbook *workbook = workbook_new_opt(path.constData(), &options);
    if (!workbook) {
        *error = QStringLiteral("the workbook cannot be made");
        return std::nullopt;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Prices");
    lxw_format *text = workbook_add_format(workbook);
    format_set_num_format(text, "@");
    lxw_format *heading = workbook_add_format(workbook);
    format_set_num_format(heading, "@");
    format_set_bold(heading);
    const QStringList header = cells.empty() ? QStringList() : cells.front();
    for (int c = 0; c < header.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), ColumnWidth(header[c]), text);
    worksheet_freeze_panes(sheet, 1, 0);
    bool written = sheet && text && heading;
    for (size_t r = 0; r < cells.size() && written; ++r) {
        for (int c = 0; c < cells[r].size() && written; ++c) {
            const QString &cell = cells[r][c];
            bool whole = false;
            const int number = cell.toInt(&whole);
            lxw_error result;
            if (r > 0 && whole && c < header.size() && wholeNumberColumns.contains(header[c]))
                result = worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), number, text);
            else if (cell.isEmpty())
                result = worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), r == 0 ? heading : text);
            else
                result = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), cell.toUtf8().constData(),
                                                r == 0 ? heading : text);
            written = result == LXW_NO_ERROR;
        }
    }
    const lxw_error closed = workbook_close(workbook);
    if (!written || closed != LXW_NO_ERROR) {
        *error = QStringLiteral("the workbook cannot be written: ") + QString::fromUtf8(lxw_strerror(closed));
        return std::nullopt;
    }
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the workbook written cannot be read back");
        return std::nullopt;
    }
    return file.readAll();
}

bool LooksLikeZip(const QByteArray &bytes) { return bytes.startsWith("PK\x03\x04"); }

std::optional<std::vector<TableRecord>> ReadXlsxTable(const QByteArray &bytes, QString *error)
{
    const Archive archive = OpenMemoryArchive(bytes);
    if (!archive) {
        *error = QStringLiteral("the workbook is not a readable zip archive");
        return std::nullopt;
    }
    QString failure;
    const QString sheetMember = FirstSheetMember(archive.get(), &failure);
    if (sheetMember.isEmpty()) {
        *error = failure.isEmpty() ? QStringLiteral("the file is no XLSX workbook (it has no xl/workbook.xml); "
                                                    "save it as .xlsx or .csv")
                                   : failure;
        return std::nullopt;
    }

    QStringList shared;
    if (const auto strings = ReadMember(archive.get(), QStringLiteral("xl/sharedStrings.xml"), &failure)) {
        QXmlStreamReader xml(*strings);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
                if (shared.size() >= kMaxTableCellsTotal) {
                    *error = QStringLiteral("the workbook holds more than %1 texts").arg(kMaxTableCellsTotal);
                    return std::nullopt;
                }
                shared << RichText(xml);
            }
        }
        if (xml.hasError()) {
            *error = XmlFailure(QStringLiteral("xl/sharedStrings.xml"), xml);
            return std::nullopt;
        }
    }
    if (!failure.isEmpty()) {
        *error = failure;
        return std::nullopt;
    }
    const std::optional<QByteArray> sheet = ReadMember(archive.get(), sheetMember, &failure);
    if (!sheet) {
        *error = failure.isEmpty() ? sheetMember + QStringLiteral(" is missing from the workbook") : failure;
        return std::nullopt;
    }

    std::vector<TableRecord> records;
    QXmlStreamReader xml(*sheet);
    TableRecord row;
    bool inRow = false, rowHasText = false;
    int nextColumn = 0;
    qint64 cellsHeld = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("row")) {
            bool ok = false;
            const int number = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            row = TableRecord{ok && number > row.line && number < 100000000 ? number : row.line + 1, {}};
            inRow = true;
            rowHasText = false;
            nextColumn = 0;
        } else if (xml.isStartElement() && xml.name() == QLatin1String("c") && inRow) {
            const QXmlStreamAttributes attributes = xml.attributes();
            int column = nextColumn;
            if (attributes.hasAttribute(QLatin1String("r")))
                column = ColumnOfReference(attributes.value(QLatin1String("r")));
            const QString type = attributes.value(QLatin1String("t")).toString();
            QString value, formula;
            bool hasFormula = false, hasInline = false;
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                    break;
                if (!xml.isStartElement())
                    continue;
                if (xml.name() == QLatin1String("v")) {
                    value = xml.readElementText(QXmlStreamReader::SkipChildElements);
                } else if (xml.name() == QLatin1String("f")) {
                    hasFormula = true;
                    formula = xml.readElementText(QXmlStreamReader::SkipChildElements);
                } else if (xml.name() == QLatin1String("is")) {
                    hasInline = true;
                    value = RichText(xml);
                }
            }
            QString text;
            if (hasFormula) {
                text = QLatin1Char('=') + formula;
            } else if (type == QLatin1String("s")) {
                bool ok = false;
                const int index = value.trimmed().toInt(&ok);
                text = ok && index >= 0 && index < shared.size() ? shared[index] : QString();
            } else if (type == QLatin1String("inlineStr") || hasInline || type == QLatin1String("str")) {
                text = value;
            } else if (type == QLatin1String("b")) {
                text = value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            } else if (type == QLatin1String("e")) {
                text = value;
            } else {
                text = NumberText(value);
            }
            if (column < 0 || column >= kMaxTableCells)
                continue;
            nextColumn = column + 1;
            if (text.isEmpty())
                continue;
            cellsHeld += std::max<qint64>(0, column + 1 - row.cells.size());
            if (cellsHeld > kMaxTableCellsTotal) {
                *error = QStringLiteral("row %1: the sheet holds more than %2 cells").arg(row.line).arg(kMaxTableCellsTotal);
                return std::nullopt;
            }
            while (row.cells.size() <= column)
                row.cells << QString();
            row.cells[column] = text;
            rowHasText = rowHasText || !text.trimmed().isEmpty();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("row") && inRow) {
            inRow = false;
            if (!rowHasText)
                continue;
            if (records.size() >= size_t(kMaxTableRecords)) {
                *error = QStringLiteral("row %1: the sheet has more than %2 rows").arg(row.line).arg(kMaxTableRecords);
                return std::nullopt;
            }
            records.push_back(row);
        }
    }
    if (xml.hasError()) {
        *error = XmlFailure(sheetMember, xml);
        return std::nullopt;
    }
    return records;
}

} // namespace tavrin

#include "prices/ListTable.h"

#include <QStringDecoder>

namespace tavrin {

namespace {

QString LineText(int line, const QString &why) { return QStringLiteral("line %1: %2").arg(line).arg(why); }

bool IsFormulaStart(QChar c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

// The number of apostrophes text starts with when a formula character follows them; -1 when
// none follows.
qsizetype ApostrophesBeforeFormula(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i < text.size() && IsFormulaStart(text[i]) ? i : -1;
}

// The cells of the first line of text (quotes honoured, line breaks inside quotes kept).
QStringList FirstLineCells(const QString &text, QChar separator)
{
    QStringList cells;
    QString cell;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && (c == u'\r' || c == u'\n')) {
            break;
        } else if (!inQuotes && c == separator) {
            cells << cell;
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell;
    return cells;
}

} // namespace

QString DecodeListText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return utf16.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

QChar DetectSeparator(const QString &text, const QStringList &headerNames)
{
    QChar best = u',';
    int bestKnown = 0;
    for (QChar separator : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
        int known = 0;
        for (const QString &cell : FirstLineCells(text, separator))
            known += headerNames.contains(HeaderKey(cell)) ? 1 : 0;
        if (known > bestKnown) {
            best = separator;
            bestKnown = known;
        }
    }
    return best;
}

std::optional<std::vector<TableRecord>> ParseCsv(const QString &text, QString *error, QChar separator)
{
    std::vector<TableRecord> records;
    TableRecord record;
    QString field;
    int line = 1;
    record.line = 1;
    bool inQuotes = false;
    bool fieldWasQuoted = false;
    bool recordHasContent = false;
    bool recordHasText = false;
    QString limitError;
    qint64 cellsHeld = 0;
    const auto endField = [&] {
        if (record.cells.size() >= kMaxTableCells || cellsHeld + record.cells.size() >= kMaxTableCellsTotal) {
            if (limitError.isEmpty())
                limitError = LineText(record.line, record.cells.size() >= kMaxTableCells
                                                       ? QStringLiteral("more than %1 cells").arg(kMaxTableCells)
                                                       : QStringLiteral("the table holds more than %1 cells")
                                                             .arg(kMaxTableCellsTotal));
        } else {
            recordHasText = recordHasText || !field.trimmed().isEmpty();
            record.cells << field;
        }
        field.clear();
        fieldWasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        // A record of nothing but blank cells is no record.
        if (recordHasText) {
            cellsHeld += record.cells.size();
            if (records.size() >= size_t(kMaxTableRecords)) {
                if (limitError.isEmpty())
                    limitError = LineText(record.line, QStringLiteral("more than %1 records").arg(kMaxTableRecords));
            } else {
                records.push_back(record);
            }
        }
        record = TableRecord{};
        recordHasContent = false;
        recordHasText = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == separator) {
            endField();
            recordHasContent = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRecord();
            ++line;
            record.line = line;
        } else if (c == u'"' && !fieldWasQuoted && field.trimmed().isEmpty()) {
            // Blanks padding a quoted field are no part of it.
            field.clear();
            inQuotes = true;
            fieldWasQuoted = true;
            recordHasContent = true;
        } else if (fieldWasQuoted) {
            if (c == u' ' || c == u'\t')
                continue;
            if (error)
                *error = LineText(line, QStringLiteral("text after a closing quote"));
            return std::nullopt;
        } else {
            field += c;
            recordHasContent = true;
        }
    }
    if (inQuotes) {
        if (error)
            *error = LineText(record.line, QStringLiteral("a quoted field is not closed"));
        return std::nullopt;
    }
    if (recordHasContent || !field.isEmpty())
        endRecord();
    if (!limitError.isEmpty()) {
        if (error)
            *error = limitError;
        return std::nullopt;
    }
    return records;
}

QString HeaderKey(const QString &cell)
{
    QString key = cell.trimmed().toLower();
    key.replace(u' ', u'_').replace(u'-', u'_');
    return key;
}

QString NeutraliseCell(const QString &text)
{
    return ApostrophesBeforeFormula(text) >= 0 ? QLatin1Char('\'') + text : text;
}

QString RestoreCell(const QString &cell)
{
    return ApostrophesBeforeFormula(cell) > 0 ? cell.mid(1) : cell;
}

} // namespace tavrin

#include "prices/PriceList.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace tavrin {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const QStringList kHeader = {
    QStringLiteral("layout"),          QStringLiteral("column"),         QStringLiteral("row"),
    QStringLiteral("main_item"),       QStringLiteral("line"),           QStringLiteral("entry"),
    QStringLiteral("price"),           QStringLiteral("calories"),       QStringLiteral("calorie_part"),
    QStringLiteral("price_at_export"), QStringLiteral("calories_at_export"),
};

QString CaloriePartName(CaloriePart part)
{
    switch (part) {
    case CaloriePart::Left:
        return QStringLiteral("left");
    case CaloriePart::Right:
        return QStringLiteral("right");
    case CaloriePart::None:
        break;
    }
    return QStringLiteral("none");
}

std::optional<CaloriePart> CaloriePartOfName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("left"))
        return CaloriePart::Left;
    if (n == QLatin1String("right"))
        return CaloriePart::Right;
    if (n == QLatin1String("none") || n.isEmpty())
        return CaloriePart::None;
    return std::nullopt;
}

// The entries of one drawn line of a prices text that starts at offset.
void AddLineEntries(const QString &text, int offset, int length, int lineNumber, std::vector<PriceEntry> &out)
{
    int number = 0;
    int start = offset;
    const int end = offset + length;
    while (start <= end) {
        int stop = text.indexOf(QLatin1Char('^'), start);
        if (stop < 0 || stop > end)
            stop = end;
        if (stop > start) {
            PriceEntry e;
            e.line = lineNumber;
            e.entry = ++number;
            e.entryEnd = stop;
            const QString piece = text.mid(start, stop - start);
            // The drawing's rule: a ">" makes the text after it the calories, else a "<" makes the
            // text before it the calories.
            const int right = int(piece.indexOf(QLatin1Char('>')));
            const int left = int(piece.indexOf(QLatin1Char('<')));
            if (right >= 0) {
                e.caloriePart = CaloriePart::Right;
                e.priceStart = start;
                e.priceLength = right;
                e.calorieStart = start + right + 1;
                e.calorieLength = int(piece.size()) - right - 1;
            } else if (left >= 0) {
                e.caloriePart = CaloriePart::Left;
                e.calorieStart = start;
                e.calorieLength = left;
                e.priceStart = start + left + 1;
                e.priceLength = int(piece.size()) - left - 1;
            } else {
                e.priceStart = start;
                e.priceLength = int(piece.size());
            }
            e.price = text.mid(e.priceStart, e.priceLength);
            if (e.calorieStart >= 0)
                e.calories = text.mid(e.calorieStart, e.calorieLength);
            out.push_back(e);
        }
        start = stop + 1;
    }
}

QString QuotedField(const QString &field)
{
    const bool needsQuotes = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
        || field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'))
        || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needsQuotes)
        return field;
    QString quoted = field;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool HoldsMarkup(const QString &value)
{
    for (QChar c : value)
        if (c == u'^' || c == u'<' || c == u'>' || c == u'~' || c == u'\\' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

QString LineText(int line, const QString &why) { return QStringLiteral("line %1: %2").arg(line).arg(why); }

} // namespace

QString MainItemFirstLine(const Strip &strip)
{
    const QString text = strip.mainItem().Text;
    const int cr = int(text.indexOf(QLatin1Char('\r')));
    const int lf = int(text.indexOf(QLatin1Char('\n')));
    int end = int(text.size());
    if (cr >= 0)
        end = std::min(end, cr);
    if (lf >= 0)
        end = std::min(end, lf);
    return text.left(end).trimmed();
}

std::vector<PriceEntry> PriceEntriesOfText(const QString &text)
{
    std::vector<PriceEntry> entries;
    const int first = int(text.indexOf(kCrLf));
    AddLineEntries(text, 0, first < 0 ? int(text.size()) : first, 1, entries);
    if (first >= 0) {
        const int secondStart = first + 2;
        const int second = int(text.indexOf(kCrLf, secondStart));
        AddLineEntries(text, secondStart, (second < 0 ? int(text.size()) : second) - secondStart, 2, entries);
    }
    return entries;
}

std::vector<PriceEntry> ExtractPriceEntries(const MenuLayout &layout)
{
    std::vector<PriceEntry> all;
    layout.forEachBoardStrip([&all](int column, int row, const Strip &strip) {
        const QString &text = strip.prices().Text;
        if (text.trimmed().isEmpty())
            return;
        const QString mainItem = MainItemFirstLine(strip);
        for (PriceEntry &e : PriceEntriesOfText(text)) {
            // A blank left by an emptied box is not an entry.
            if (e.price.trimmed().isEmpty() && e.calories.trimmed().isEmpty() && e.caloriePart == CaloriePart::None)
                continue;
            e.column = column;
            e.row = row;
            e.mainItem = mainItem;
            all.push_back(e);
        }
    });
    return all;
}

PriceRow RowForEntry(const QString &layoutPath, const PriceEntry &e)
{
    PriceRow row;
    row.layout = layoutPath;
    row.column = e.column;
    row.row = e.row;
    row.mainItem = e.mainItem;
    row.line = e.line;
    row.entry = e.entry;
    row.price = row.priceAtExport = e.price;
    row.calories = row.caloriesAtExport = e.calories;
    row.caloriePart = e.caloriePart;
    return row;
}

QByteArray WritePriceListCsv(const std::vector<PriceRow> &rows)
{
    QString text = kHeader.join(QLatin1Char(',')) + kCrLf;
    for (const PriceRow &r : rows) {
        const QStringList fields = {r.layout,
                                    QString::number(r.column + 1),
                                    QString::number(r.row + 1),
                                    r.mainItem,
                                    QString::number(r.line),
                                    QString::number(r.entry),
                                    r.price,
                                    r.calories,
                                    CaloriePartName(r.caloriePart),
                                    r.priceAtExport,
                                    r.caloriesAtExport};
        QStringList quoted;
        for (const QString &f : fields)
            quoted << QuotedField(f);
        text += quoted.join(QLatin1Char(',')) + kCrLf;
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

std::optional<std::vector<CsvRecord>> ParseCsv(const QString &text, QString *error)
{
    std::vector<CsvRecord> records;
    CsvRecord record;
    QString field;
    int line = 1;
    record.line = 1;
    bool inQuotes = false;
    bool fieldWasQuoted = false;
    bool recordHasContent = false;
    const auto endField = [&] {
        record.fields << field;
        field.clear();
        fieldWasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        // A line with nothing on it is not a record.
        if (!(record.fields.size() == 1 && record.fields[0].isEmpty() && !recordHasContent))
            records.push_back(record);
        record = CsvRecord{};
        recordHasContent = false;
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
        if (c == u',') {
            endField();
            recordHasContent = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRecord();
            ++line;
            record.line = line;
        } else if (c == u'"' && field.isEmpty() && !fieldWasQuoted) {
            inQuotes = true;
            fieldWasQuoted = true;
            recordHasContent = true;
        } else if (fieldWasQuoted) {
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
    return records;
}

PriceListReading ReadPriceListCsv(const QByteArray &bytes)
{
    PriceListReading reading;
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QString error;
    const auto records = ParseCsv(QString::fromUtf8(data), &error);
    if (!records) {
        reading.errors << error;
        return reading;
    }
    if (records->empty()) {
        reading.errors << QStringLiteral("line 1: the file is empty");
        return reading;
    }
    // Columns are found by their names, so a spreadsheet that reorders them does no harm.
    QHash<QString, int> at;
    const QStringList &header = records->front().fields;
    for (int i = 0; i < header.size(); ++i)
        at.insert(header[i].trimmed().toLower(), i);
    QStringList missing;
    for (const QString &name : kHeader)
        if (!at.contains(name))
            missing << name;
    if (!missing.isEmpty()) {
        reading.errors << LineText(records->front().line,
                                   QStringLiteral("the header lacks the columns ") + missing.join(QStringLiteral(", ")));
        return reading;
    }
    for (size_t i = 1; i < records->size(); ++i) {
        const CsvRecord &record = (*records)[i];
        const auto field = [&](const char *name) {
            const int index = at.value(QLatin1String(name));
            return index < record.fields.size() ? record.fields[index] : QString();
        };
        if (record.fields.size() != header.size()) {
            reading.errors << LineText(record.line, QStringLiteral("%1 fields where the header has %2")
                                                        .arg(record.fields.size())
                                                        .arg(header.size()));
            continue;
        }
        PriceRow row;
        row.csvLine = record.line;
        row.layout = field("layout");
        bool ok[4];
        row.column = field("column").trimmed().toInt(&ok[0]) - 1;
        row.row = field("row").trimmed().toInt(&ok[1]) - 1;
        row.line = field("line").trimmed().toInt(&ok[2]);
        row.entry = field("entry").trimmed().toInt(&ok[3]);
        const auto part = CaloriePartOfName(field("calorie_part"));
        if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !part || row.layout.isEmpty()) {
            reading.errors << LineText(record.line, QStringLiteral("the layout, column, row, line, entry or "
                                                                   "calorie_part field is not valid"));
            continue;
        }
        row.caloriePart = *part;
        row.mainItem = field("main_item");
        row.price = field("price");
        row.calories = field("calories");
        row.priceAtExport = field("price_at_export");
        row.caloriesAtExport = field("calories_at_export");
        reading.rows.push_back(row);
    }
    return reading;
}

PriceApplication ApplyPriceRows(MenuLayout &layout, const std::vector<PriceRow> &rows)
{
    PriceApplication result;
    struct Edit {
        int start, length;
        QString text;
    };
    std::map<std::pair<int, int>, std::vector<Edit>> editsByStrip;
    std::map<std::tuple<int, int, int, int>, int> seen; // entry -> line of the row that named it

    for (const PriceRow &r : rows) {
        const auto refuse = [&](const QString &why) { result.refused << LineText(r.csvLine, why); };
        if (r.column < 0 || r.row < 0 || r.column >= layout.boardColumns() || r.row >= layout.boardRows()) {
            refuse(QStringLiteral("column %1, row %2 is not on the board").arg(r.column + 1).arg(r.row + 1));
            continue;
        }
        const Strip &strip = layout.strip(r.column, r.row);
        const QString label = StripLabel(r.column, r.row, r.mainItem);
        if (MainItemFirstLine(strip) != r.mainItem.trimmed()) {
            refuse(label + QStringLiteral(": the main item is now \"%1\"").arg(MainItemFirstLine(strip)));
            continue;
        }
        const std::vector<PriceEntry> entries = PriceEntriesOfText(strip.prices().Text);
        const auto found = std::find_if(entries.begin(), entries.end(), [&r](const PriceEntry &e) {
            return e.line == r.line && e.entry == r.entry;
        });
        if (found == entries.end()) {
            refuse(label + QStringLiteral(": line %1 has no price entry %2 now").arg(r.line).arg(r.entry));
            continue;
        }
        const PriceEntry &e = *found;
        if (e.caloriePart != r.caloriePart || e.price != r.priceAtExport || e.calories != r.caloriesAtExport) {
            refuse(label + QStringLiteral(": price entry %1 of line %2 has changed since the export").arg(r.entry).arg(r.line));
            continue;
        }
        const auto key = std::make_tuple(r.column, r.row, r.line, r.entry);
        if (const auto twice = seen.find(key); twice != seen.end()) {
            refuse(label + QStringLiteral(": price entry %1 of line %2 is also on line %3 of the list")
                               .arg(r.entry).arg(r.line).arg(twice->second));
            continue;
        }
        seen[key] = r.csvLine;
        if (HoldsMarkup(r.price) || HoldsMarkup(r.calories)) {
            refuse(label + QStringLiteral(": a price or calorie count may not hold ^ < > ~ \\ or a line break"));
            continue;
        }
        const bool priceChanged = r.price != e.price;
        const bool caloriesChanged = r.calories != e.calories;
        if (!priceChanged && !caloriesChanged)
            continue;
        auto &edits = editsByStrip[{r.column, r.row}];
        if (priceChanged)
            edits.push_back({e.priceStart, e.priceLength, r.price});
        if (caloriesChanged) {
            if (e.calorieStart >= 0)
                edits.push_back({e.calorieStart, e.calorieLength, r.calories});
            else
                edits.push_back({e.entryEnd, 0, QStringLiteral(">") + r.calories});
        }
        result.changes.push_back({r.csvLine, r.column, r.row, MainItemFirstLine(strip), r.line, r.entry, e.price,
                                  r.price, e.calories, r.calories});
    }
    if (!result.refused.isEmpty()) {
        result.changes.clear();
        return result;
    }
    for (auto &[position, edits] : editsByStrip) {
        // From the end of the text backwards, so that each edit's position still holds.
        std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.start > b.start; });
        QString &text = layout.strip(position.first, position.second).prices().Text;
        for (const Edit &edit : edits)
            text.replace(edit.start, edit.length, edit.text);
    }
    return result;
}

QString StripLabel(int column, int row, const QString &mainItem)
{
    QString label = QStringLiteral("column %1, row %2").arg(column + 1).arg(row + 1);
    if (!mainItem.isEmpty())
        label += QStringLiteral(" \"%1\"").arg(mainItem);
    return label;
}

} // namespace tavrin

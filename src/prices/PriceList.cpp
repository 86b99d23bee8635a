#include "prices/PriceList.h"

#include "prices/PriceNumbers.h"

#include <QHash>

#include <algorithm>
#include <cmath>
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

// A whole number cell: "3", and "3.0" as some spreadsheets write whole numbers.
std::optional<int> WholeNumber(const QString &cell)
{
    bool ok = false;
    const int whole = cell.toInt(&ok);
    if (ok)
        return whole;
    const double value = cell.toDouble(&ok);
    if (ok && std::isfinite(value) && value == std::floor(value) && std::abs(value) < 1e9)
        return int(value);
    return std::nullopt;
}

// The decimal mark most of the board's price and calorie numbers use; a point without any.
QChar BoardDecimalMark(const MenuLayout &layout)
{
    int points = 0, commas = 0;
    for (const PriceEntry &e : ExtractPriceEntries(layout)) {
        for (const QString &part : {e.price, e.calories}) {
            if (const auto number = NumberOfText(part.trimmed()); number && !number->mark.isNull())
                (number->mark == u',' ? commas : points) += 1;
        }
    }
    return commas > points ? QChar(u',') : QChar(u'.');
}

// Whether a list cell still gives the board's part: by value where the part is a number.
bool MatchesExport(const QString &cell, const QString &part)
{
    const QString core = part.trimmed();
    if (const auto form = NumberOfText(core)) {
        const auto number = CellNumber(cell, *form);
        return number && SameNumber(number->value, form->value);
    }
    return cell == core;
}

// "5.99>540" as reports show an entry.
QString EntryText(const QString &price, const QString &calories, CaloriePart part)
{
    switch (part) {
    case CaloriePart::Right:
        return price.trimmed() + QLatin1Char('>') + calories.trimmed();
    case CaloriePart::Left:
        return calories.trimmed() + QLatin1Char('<') + price.trimmed();
    case CaloriePart::None:
        break;
    }
    return price.trimmed();
}

// A list cell read against the board's part: unchanged, changed to text, or refused.
struct CellOutcome {
    bool changed = false;
    QString text;  // the part's new text
    QString error; // why the cell cannot be applied
};

CellOutcome ReadCell(const QString &cell, const QString &part, QChar boardMark, const QString &what)
{
    const QString core = part.trimmed();
    const qsizetype lead = core.isEmpty() ? part.size() : part.indexOf(core);
    const QString before = part.left(lead), after = part.mid(lead + core.size());
    if (const auto form = NumberOfText(core)) {
        const auto number = CellNumber(cell, *form);
        if (!number) {
            if (cell.isEmpty())
                return {false, QString(), QStringLiteral("the %1 is empty where the board has %2").arg(what, core)};
            return {false, QString(),
                    QStringLiteral("the %1 \"%2\" is not a number (the board has %3)").arg(what, cell, core)};
        }
        if (SameNumber(number->value, form->value))
            return {};
        return {true, before + WriteInForm(*number, *form, boardMark) + after, QString()};
    }
    if (cell == core)
        return {};
    return {true, before + cell + after, QString()};
}

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
    row.price = row.priceAtExport = e.price.trimmed();
    row.calories = row.caloriesAtExport = e.calories.trimmed();
    row.caloriePart = e.caloriePart;
    return row;
}

std::vector<QStringList> PriceListCells(const std::vector<PriceRow> &rows)
{
    std::vector<QStringList> cells{kHeader};
    cells.reserve(rows.size() + 1);
    for (const PriceRow &r : rows) {
        const QStringList texts = {r.layout,
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
        QStringList neutral;
        for (const QString &text : texts)
            neutral << NeutraliseCell(text);
        cells.push_back(neutral);
    }
    return cells;
}

QByteArray WritePriceListCsv(const std::vector<PriceRow> &rows)
{
    QString text;
    for (const QStringList &record : PriceListCells(rows)) {
        QStringList quoted;
        for (const QString &cell : record)
            quoted << QuotedField(cell);
        text += quoted.join(QLatin1Char(',')) + kCrLf;
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

PriceListReading RowsOfTable(const std::vector<TableRecord> &records)
{
    PriceListReading reading;
    const auto blank = [](const TableRecord &record) {
        return std::all_of(record.cells.begin(), record.cells.end(), [](const QString &c) { return c.trimmed().isEmpty(); });
    };
    auto header = std::find_if_not(records.begin(), records.end(), blank);
    if (header == records.end()) {
        reading.errors << QStringLiteral("line 1: the file is empty");
        return reading;
    }
    // Columns are found by their names, so a spreadsheet that reorders them does no harm.
    QHash<QString, int> at;
    for (int i = 0; i < header->cells.size(); ++i)
        if (const QString key = HeaderKey(RestoreCell(header->cells[i].trimmed())); !at.contains(key))
            at.insert(key, i);
    QStringList missing;
    for (const QString &name : kHeader)
        if (!at.contains(name))
            missing << name;
    if (!missing.isEmpty()) {
        reading.errors << LineText(header->line,
                                   QStringLiteral("the header lacks the columns ") + missing.join(QStringLiteral(", ")));
        return reading;
    }
    int width = 0;
    for (const QString &name : kHeader)
        width = std::max(width, at.value(name) + 1);
    const int headerWidth = int(header->cells.size());
    constexpr int kErrorsShown = 50;
    int moreErrors = 0;
    const auto error = [&](int line, const QString &why) {
        if (reading.errors.size() < kErrorsShown)
            reading.errors << LineText(line, why);
        else
            ++moreErrors;
    };
    for (auto record = std::next(header); record != records.end(); ++record) {
        if (blank(*record))
            continue;
        QStringList cells;
        for (const QString &cell : record->cells)
            cells << RestoreCell(cell.trimmed());
        // Cells past the header's end are an unquoted separator in a text, most likely.
        if (cells.size() > headerWidth
            && std::any_of(cells.begin() + headerWidth, cells.end(), [](const QString &c) { return !c.isEmpty(); })) {
            error(record->line, QStringLiteral("%1 cells where the header has %2").arg(cells.size()).arg(headerWidth));
            continue;
        }
        const auto field = [&](const char *name) {
            const int index = at.value(QLatin1String(name));
            return index < cells.size() ? cells[index] : QString();
        };
        PriceRow row;
        row.listLine = record->line;
        row.layout = field("layout");
        const std::optional<int> column = WholeNumber(field("column")), stripRow = WholeNumber(field("row")),
                                 line = WholeNumber(field("line")), entry = WholeNumber(field("entry"));
        const auto part = CaloriePartOfName(field("calorie_part"));
        if (!column || !stripRow || !line || !entry || *column < 1 || *stripRow < 1 || *line < 1 || *line > 2
            || *entry < 1 || !part || row.layout.isEmpty()) {
            error(record->line, QStringLiteral("the layout, column, row, line, entry or calorie_part cell is not valid"));
            continue;
        }
        row.column = *column - 1;
        row.row = *stripRow - 1;
        row.line = *line;
        row.entry = *entry;
        row.caloriePart = *part;
        row.mainItem = field("main_item");
        row.price = field("price");
        row.calories = field("calories");
        row.priceAtExport = field("price_at_export");
        row.caloriesAtExport = field("calories_at_export");
        if (int(reading.rows.size()) >= kMaxPriceListRows) {
            error(record->line, QStringLiteral("the list has more than %1 rows").arg(kMaxPriceListRows));
            break;
        }
        reading.rows.push_back(row);
    }
    if (moreErrors > 0)
        reading.errors << QStringLiteral("(and %1 more)").arg(moreErrors);
    return reading;
}

PriceListReading ReadPriceListCsv(const QByteArray &bytes)
{
    const QString text = DecodeListText(bytes);
    QString error;
    const auto records = ParseCsv(text, &error, DetectSeparator(text, kHeader));
    if (!records) {
        PriceListReading reading;
        reading.errors << error;
        return reading;
    }
    return RowsOfTable(*records);
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
    const QChar boardMark = BoardDecimalMark(layout);

    for (const PriceRow &r : rows) {
        const auto refuse = [&](const QString &why) { result.refused << LineText(r.listLine, why); };
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
        const QString entryName = QStringLiteral("price entry %1 of line %2").arg(r.entry).arg(r.line);
        if (e.caloriePart != r.caloriePart || !MatchesExport(r.priceAtExport, e.price)
            || !MatchesExport(r.caloriesAtExport, e.calories)) {
            refuse(label + QStringLiteral(": %1 has changed since the export (the board has \"%2\", the list was made from \"%3\")")
                               .arg(entryName, EntryText(e.price, e.calories, e.caloriePart),
                                    EntryText(r.priceAtExport, r.caloriesAtExport, r.caloriePart)));
            continue;
        }
        const auto key = std::make_tuple(r.column, r.row, r.line, r.entry);
        if (const auto twice = seen.find(key); twice != seen.end()) {
            refuse(label + QStringLiteral(": %1 is also on line %2 of the list").arg(entryName).arg(twice->second));
            continue;
        }
        seen[key] = r.listLine;
        if (HoldsMarkup(r.price) || HoldsMarkup(r.calories)) {
            refuse(label + QStringLiteral(": a price or calorie count may not hold ^ < > ~ \\ or a line break"));
            continue;
        }
        const CellOutcome price = ReadCell(r.price, e.price, boardMark, QStringLiteral("price"));
        const CellOutcome calories = e.calorieStart >= 0
            ? ReadCell(r.calories, e.calories, boardMark, QStringLiteral("calorie count"))
            : CellOutcome{!r.calories.isEmpty(), QStringLiteral(">") + r.calories, QString()};
        if (!price.error.isEmpty() || !calories.error.isEmpty()) {
            refuse(label + QStringLiteral(", ") + entryName + QStringLiteral(": ")
                   + (price.error.isEmpty() ? calories.error : price.error));
            continue;
        }
        if (!price.changed && !calories.changed)
            continue;
        auto &edits = editsByStrip[{r.column, r.row}];
        QString newPrice = e.price, newCalories = e.calories;
        if (price.changed) {
            edits.push_back({e.priceStart, e.priceLength, price.text});
            newPrice = price.text;
        }
        if (calories.changed) {
            if (e.calorieStart >= 0) {
                edits.push_back({e.calorieStart, e.calorieLength, calories.text});
                newCalories = calories.text;
            } else {
                edits.push_back({e.entryEnd, 0, calories.text});
                newCalories = r.calories;
            }
        }
        result.changes.push_back({r.listLine, r.column, r.row, MainItemFirstLine(strip), r.line, r.entry, e.price,
                                  newPrice, e.calories, newCalories});
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

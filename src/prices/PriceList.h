#pragma once

#include "layout/MenuLayout.h"
#include "prices/ListTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavrin {

// Price lists: the price entries of boards as rows of a spreadsheet, and the changes of such a
// list written back into the prices texts, touching nothing but the price and calorie parts.

// Which part of a price entry is the calorie count: the text after ">" (Right), the text before
// "<" (Left), or none when the entry has no calorie marker.
enum class CaloriePart { None, Left, Right };

// One price entry of a strip's prices text. Positions are indexes into that text.
struct PriceEntry {
    int column = 0; // store position, from 0
    int row = 0;
    QString mainItem; // first line of the strip's main item text
    int line = 1;     // 1 or 2
    int entry = 1;    // place on its line from the left, from 1; entries without characters are not counted
    QString price;
    QString calories;
    CaloriePart caloriePart = CaloriePart::None;
    int priceStart = 0, priceLength = 0;
    int calorieStart = -1, calorieLength = 0; // -1 without a marker
    int entryEnd = 0;                         // index just after the entry's last character
};

// The first line of a strip's main item text, without the blank an emptied box leaves.
QString MainItemFirstLine(const Strip &strip);

// The entries of one prices text (only the two lines that are drawn), in reading order.
std::vector<PriceEntry> PriceEntriesOfText(const QString &pricesText);

// Every price entry of every strip of the board that has prices text, strips column by column.
std::vector<PriceEntry> ExtractPriceEntries(const MenuLayout &layout);

// One row of a price list: an entry as exported, with the values the user may have changed.
// Cells are as read: trimmed, with the apostrophe that kept a formula-like text a text removed.
struct PriceRow {
    int listLine = 0; // line of the CSV file or row of the sheet the row starts on (the header is 1)
    QString layout;   // as the list names it: relative to the list's folder, or absolute
    int column = 0;   // store position, from 0 (the file counts from 1)
    int row = 0;
    QString mainItem;
    int line = 1;
    int entry = 1;
    QString price;
    QString calories;
    CaloriePart caloriePart = CaloriePart::None;
    QString priceAtExport;
    QString caloriesAtExport;
};

// The row of an entry, naming its layout as layoutPath. Prices and calories are given without
// the blanks around them (the board's blanks stay on the board).
PriceRow RowForEntry(const QString &layoutPath, const PriceEntry &entry);

// The cells of a price list: the header, then a line per row, every text as NeutraliseCell
// makes it. The CSV and the XLSX writers write these same cells.
std::vector<QStringList> PriceListCells(const std::vector<PriceRow> &rows);

// The price list as a CSV file: UTF-8 with a byte-order mark (so spreadsheet programs read it
// as UTF-8), comma separated, fields quoted where they hold a comma, a quote, a line break or
// blanks at either end, records ended by CR LF.
QByteArray WritePriceListCsv(const std::vector<PriceRow> &rows);

// Reads a price list. Any malformed record or field is named with its line in errors; the rows
// read are returned either way.
struct PriceListReading {
    std::vector<PriceRow> rows;
    QStringList errors;
};

// The rows of a table whose first record that is not blank is the header: columns are found by
// their names in any order and case, other columns are ignored; rows of nothing but empty cells
// are skipped.
PriceListReading RowsOfTable(const std::vector<TableRecord> &records);

// A CSV price list as a spreadsheet program may have saved it (see DecodeListText,
// DetectSeparator and ParseCsv).
PriceListReading ReadPriceListCsv(const QByteArray &bytes);

// At most this many rows are read from one list (far more than the price entries of many
// boards): a larger table is refused rather than held in memory.
inline constexpr int kMaxPriceListRows = 100000;

// One changed entry, as applied.
struct PriceChange {
    int listLine = 0;
    int column = 0;
    int row = 0;
    QString mainItem;
    int line = 1;
    int entry = 1;
    QString oldPrice, newPrice;
    QString oldCalories, newCalories;
};

struct PriceApplication {
    std::vector<PriceChange> changes; // empty when nothing changed or a row was refused
    QStringList refused;              // "line N: why", one per row that does not match the board
};

// Checks every row against the board first: the strip must be on the board and its main item's
// first line, the entry (line and number), its calorie part and the price and calorie values at
// export must all still be what the board holds. When any row fails, the layout is left exactly
// as it was. Otherwise the changed price and calorie parts are written into the prices texts; all
// markers and tab stops stay. An entry without a calorie marker that is given calories gets them
// after a ">". New values may not hold "^", "<", ">", "~", "\" or line breaks.
//
// Where the board's part holds a number (NumberOfText), the list's cells are numbers too:
// compared by value ("3" and "3,00" are the board's "3.00"), and a changed value is written in
// the board's form (6.5 for "$5.99" becomes "$6.50"). A cell that is no number there ("six",
// "=2.49+0.30", an emptied cell) refuses its row. Other parts are compared and replaced as text;
// the blanks around a part on the board stay.
PriceApplication ApplyPriceRows(MenuLayout &layout, const std::vector<PriceRow> &rows);

// "column 2, row 5 \"Classic Burger\"": how reports name a strip (column and row counted from 1).
QString StripLabel(int column, int row, const QString &mainItem);

} // namespace tavrin

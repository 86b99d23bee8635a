#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavrin {

// A price list as a table of cells, however a spreadsheet program wrote it: the text forms of
// CSV files (encodings, separators, line ends, padding) and the cell texts that keep a
// spreadsheet from running a cell as a formula.

// One record of a table with the line (CSV) or row (sheet) it starts on, counted from 1.
struct TableRecord {
    int line = 0;
    QStringList cells;
};

// The text of a CSV file: UTF-8 with or without a byte-order mark, UTF-16 with one, and
// Windows-1252 when the bytes are not UTF-8 (what spreadsheet programs on Windows write by
// default).
QString DecodeListText(const QByteArray &bytes);

// The separator of a CSV text: the one of comma, semicolon and tab that splits its first line
// into the most of the given header names (compared as HeaderKey gives them); a comma when none
// splits it into any.
QChar DetectSeparator(const QString &text, const QStringList &headerNames);

// Limits of a table read from a file: a price list holds far fewer, and a file of nothing but
// separators or line ends cannot fill the memory.
inline constexpr int kMaxTableRecords = 100001;
inline constexpr int kMaxTableCells = 1000;        // in one record
inline constexpr int kMaxTableCellsTotal = 4000000; // in the whole table

// A RFC 4180 reader with the leniency of real files: quoted fields may hold separators, doubled
// quotes and line breaks; blanks before an opening or after a closing quote are dropped; lines
// end in CR LF, LF or CR; a record of nothing but blank cells (an empty line, ",,,,") is no
// record. Returns nothing and sets error ("line N: why") on an unterminated quote, text after a
// closing quote, or a table past the limits above.
std::optional<std::vector<TableRecord>> ParseCsv(const QString &text, QString *error, QChar separator = u',');

// A header cell as a column name: trimmed, lower case, blanks and hyphens as underscores.
QString HeaderKey(const QString &cell);

// A cell text a spreadsheet would run as a formula (it starts with "=", "+", "-", "@", a tab or
// a CR, after any apostrophes) gets a leading apostrophe, which keeps it a text when the list is
// opened in a spreadsheet. RestoreCell takes exactly that apostrophe away again, so that
// RestoreCell(NeutraliseCell(t)) == t for every text, and texts that start with an apostrophe
// for another reason ("'Tis") are left as they are both ways.
QString NeutraliseCell(const QString &text);
QString RestoreCell(const QString &cell);

} // namespace tavrin

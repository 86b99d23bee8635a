#pragma once

#include "prices/ListTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavrin {

// Price lists as Excel workbooks (XLSX), so that a list goes through a spreadsheet program
// without a CSV import dialog.

// A workbook of one sheet holding cells (the first record is the header, shown bold and kept in
// view). Every cell is a text cell of the text format "@", so no spreadsheet turns a price
// into a number of its own form, and a value typed over one stays text too; the columns named
// in wholeNumberColumns hold whole numbers and are written as numbers. Written with
// libxlsxwriter. Nothing on failure, with the reason in error.
std::optional<QByteArray> WriteXlsxTable(const std::vector<QStringList> &cells, const QStringList &wholeNumberColumns,
                                         QString *error);

// Whether bytes start like a zip archive (an XLSX workbook is one).
bool LooksLikeZip(const QByteArray &bytes);

// The first sheet of an XLSX workbook as a table, each record with its sheet row. Text cells
// (shared, inline or a formula's text result) give their text, numbers their shortest exact
// decimal form ("6.5", never "6.4999999999999991"), and a cell with a formula gives "=" and the
// formula, so that it is never taken for the value it last showed. Cells past column 1000 are
// left out. The archive and its XML are read with the limits of a hostile file: members of at
// most 64 MB each, the table limits of ListTable.h, no external entities. Nothing on failure,
// with the reason in error.
std::optional<std::vector<TableRecord>> ReadXlsxTable(const QByteArray &bytes, QString *error);

} // namespace tavrin

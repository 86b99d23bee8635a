#pragma once

#include "check/BoardCheck.h"

namespace tavrin {

class Editor;

// The window's price-list commands on the open board.

// "Export Prices...": every price entry of the open board into a CSV file or XLSX workbook the
// user names, the board named from the list's folder.
void ExportPricesCommand(Editor &editor);

// "Import Prices...": the rows of a CSV file or XLSX workbook that name the open board (by its
// path from the list's folder or, for a list made on another computer, its file name) written
// into its prices texts, as one undo step. Nothing but the open board is ever changed, whatever
// the list names. Rows that no longer match the board are listed with their lines and nothing
// changes. The file is read as the command line reads lists: regular files of at most 64 MB.
void ImportPricesCommand(Editor &editor);

// The dialog texts of these commands.
inline const QString kExportPricesTitle = QStringLiteral("Export Prices");
inline const QString kImportPricesTitle = QStringLiteral("Import Prices");
inline const QString kPriceListFilter = QStringLiteral("Price list (*.csv *.xlsx)");
inline const QString kPriceListSaveFilter = QStringLiteral("Price list (*.csv);;Excel workbook (*.xlsx)");

} // namespace tavrin

#pragma once

#include "check/BoardCheck.h"

namespace tavrin {

class Editor;

// The window's price-list commands on the open board.

// "Export Prices...": every price entry of the open board into a CSV file the user names.
void ExportPricesCommand(Editor &editor);

// "Import Prices...": the rows of a CSV file that name the open board (by its path or, for a
// list made on another computer, its file name) written into its prices texts, as one undo
// step. Rows that no longer match the board are listed with their lines and nothing changes.
void ImportPricesCommand(Editor &editor);

// The dialog texts of these commands.
inline const QString kExportPricesTitle = QStringLiteral("Export Prices");
inline const QString kImportPricesTitle = QStringLiteral("Import Prices");
inline const QString kPriceListFilter = QStringLiteral("Price list (*.csv)");

} // namespace tavrin

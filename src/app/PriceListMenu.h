#pragma once

class QMenu;
class QWidget;

namespace tavrin {

class Editor;

// "Export Prices...", "Import Prices..." and "Check Board" at the end of a menu of the window.
void AddPriceListCommands(QMenu *menu, Editor &editor, QWidget *window);

} // namespace tavrin

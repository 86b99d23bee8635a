#pragma once

#include "editor/ControlId.h"

#include <QKeySequence>

#include <functional>

class QMenu;
class QWidget;

namespace tavrin {

class WidgetControls;

// The key that runs a button's command, empty when the button has none. Delete is given to
// "Delete Menu Item" and "Delete Picture" both: it runs the one that fits the edit mode.
QKeySequence ShortcutOf(ControlId button);

// Keys for the commands people expect on a desktop. Each is an item of the window's menu, shown
// with its key, and acts exactly as a click on its button, only while that button is enabled.
// A text box with the focus keeps the keys it uses itself (Delete, Ctrl+Z, ...).
// pictureModeActive tells which delete button Delete stands for.
void InstallShortcuts(QWidget *window, QMenu *menu, WidgetControls &controls,
                      std::function<bool()> pictureModeActive);

} // namespace tavrin

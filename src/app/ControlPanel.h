#pragma once

#include "editor/ControlId.h"

#include <QPoint>

class QWidget;

namespace tavrin {

class WidgetControls;

// Width of the command column on the left of the window, without its scroll bar.
constexpr int kColumnWidth = 206;

// Creates every control of the editor window at its place, with its caption, and registers it
// under its id; the window connects the clicks.
class ControlPanel {
public:
    // Widgets are children of window; callbacks connect to the window's handlers.
    static void Build(QWidget *window, WidgetControls &controls);
};

// Dialog units of the window's layout to pixels (the window was drawn in dialog units of a
// 10-point sans-serif font: one unit is a quarter of a character's width, an eighth of its height).
QPoint DialogUnitsToPixels(int x, int y);

} // namespace tavrin

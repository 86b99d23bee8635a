#pragma once

namespace tavrin {

class Editor;
class WidgetControls;

// Routes the three text boxes into the editing logic: the user's changes (with the caret),
// focus in and out, and a slowed key repeat while a box has the focus (the system's own
// repeat setting stays untouched).
void ConnectTextBoxes(WidgetControls &controls, Editor &editor);

} // namespace tavrin

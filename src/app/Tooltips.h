#pragma once

namespace tavrin {

class WidgetControls;

// Gives every control of the window a tooltip that says what it does, with its key when it
// has one.
void SetTooltips(WidgetControls &controls);

} // namespace tavrin

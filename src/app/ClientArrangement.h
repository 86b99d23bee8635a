#pragma once

class QWidget;

namespace tavrin {

class WidgetControls;

// Fits the window's controls to any window size. At the full size of the controls everything
// keeps its place. In a smaller window the command column scrolls, and the three text boxes
// share the width that is left (down to a width each where their captions still fit); the
// board keeps filling what is left beside and below them.
class ClientArrangement {
public:
    // Arranges client's controls now and whenever client is resized, before the board follows,
    // and keeps client from becoming smaller than the size at which every control is reachable.
    static void Install(QWidget *client, WidgetControls &controls);
};

} // namespace tavrin

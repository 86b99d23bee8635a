#pragma once

#include "platform/HeadlessGui.h"

namespace tavrin::test {
using tavrin::EnsureGuiApplication;

// Makes the GUI application object when it is constructed: a member placed before those that
// draw or measure text.
struct GuiApplicationMade {
    GuiApplicationMade() { EnsureGuiApplication(); }
};
} // namespace tavrin::test

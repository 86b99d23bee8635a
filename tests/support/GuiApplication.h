#pragma once

namespace tavrin::test {

// Text drawing needs the GUI application object; this makes one (offscreen) unless the test
// program already has an application object. It lives until the program ends.
void EnsureGuiApplication();

} // namespace tavrin::test

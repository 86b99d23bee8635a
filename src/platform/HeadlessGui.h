#pragma once

namespace tavrin {

// Text drawing needs the GUI application object even where no window is ever shown (tests,
// the benchmark). This makes one on the offscreen platform unless the process already has an
// application object; it lives until the process ends.
void EnsureGuiApplication();

} // namespace tavrin

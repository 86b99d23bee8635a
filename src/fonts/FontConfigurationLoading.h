#pragma once

namespace tavrin {

// Reading fontconfig's configuration (some fifty XML files, then the font caches) is the largest
// step of the first font match. A program that knows it will draw text soon starts it here on
// another thread, and goes on with other work (starting Qt, unpacking a layout) meanwhile.
void StartLoadingFontConfiguration();

// Waits for a load started above; returns at once when none is under way. Font matches call it,
// so that they use the loaded configuration instead of loading a second one. Call it before
// forking: a child must not inherit a load that is halfway.
void FinishLoadingFontConfiguration();

} // namespace tavrin

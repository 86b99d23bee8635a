#pragma once

#include <QString>

namespace tavrin::cli {

// Fonts a layout needs but this computer lacks are drawn from the font files its package carries
// (unpacked into workingFolder): they are copied into a folder of this process in the data folder
// and registered for this process only; nothing is installed for the user. Every name of
// missingFontsList (each followed by CR LF) that is still missing afterwards is named in a
// warning on standard error (layoutPath says which layout) and drawn with a stand-in; the list
// keeps those names.
void UseCarriedFonts(QString &missingFontsList, const QString &workingFolder, const QString &layoutPath);

// Removes this process's folder of carried fonts, if one was made.
void RemoveCarriedFontsFolder();

} // namespace tavrin::cli

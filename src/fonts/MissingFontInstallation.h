#pragma once

#include "fonts/FontInventory.h"
#include "platform/Prompter.h"

#include <QString>

namespace tavrin {

enum class FontInstallationOutcome {
    AllInstalled = 1, // every listed font is installed now
    GaveUp = 2,       // the user cancelled the message or closed the panel by choosing a file
};

// Title of the font installation panel.
extern const QString kFontInstallationPanelTitle;

// "The font(s) required ..." message that comes before each showing of the panel, listing names.
QString MissingFontsMessage(const QStringList &names);

// Walks the user through installing the fonts of missingFontsList (names each followed by CR LF):
// the message lists the fonts still missing; on OK the font installation panel opens on the
// folder of backgroundImagePath (for a layout package the working folder, where its font files
// were unpacked); after the panel the fonts that are installed now are struck off and the working
// folder's copies of their files deleted. This repeats until no font is missing, and then the
// list is emptied. Cancelling the message, or closing the panel by choosing a file instead of
// pressing "Done", gives up and leaves the list as it was.
FontInstallationOutcome InstallMissingFonts(QString &missingFontsList, const QString &workingFolder,
                                            const QString &backgroundImagePath, Prompter &prompter,
                                            const FontServices &services = FontServices::System());

} // namespace tavrin

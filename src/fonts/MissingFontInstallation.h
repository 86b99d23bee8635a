#pragma once

#include "fonts/CarriedFontFiles.h"
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

// The faces the installation offers for an opened layout: the fonts of missingFontsList, then
// every face the package carries (carried, as RegisterCarriedFonts gave them) that this computer
// has not installed in its style: the bold or italic faces of an installed family, the fallback
// faces that drew characters the layout's fonts lack. A carried regular face that stands for a
// listed missing font ("Liberation Sans" carried for a missing "Arial") is not offered twice.
// Names of styles are "Family Style" ("DejaVu Sans Oblique").
QStringList FacesToOffer(const QString &missingFontsList, const std::vector<CarriedFace> &carried);

// The font services that answer for the offered names: a listed font is installed when its face
// is; a carried face when an installed face of its family has its style.
FontServices OfferedFaceServices(const std::vector<CarriedFace> &carried, const FontServices &system = FontServices::System());

// The open's font step: offers the faces above through InstallMissingFonts. The board is drawn
// with the carried files for this process whatever the user answers, so the open goes on unless
// the user gave up while a font of missingFontsList is neither installed nor carried (it could
// not be drawn at all). missingFontsList keeps the fonts that are still not installed.
bool OfferOpeningFonts(QString &missingFontsList, const std::vector<CarriedFace> &carried,
                       const QString &workingFolder, const QString &backgroundImagePath, Prompter &prompter,
                       const FontServices &system = FontServices::System());

} // namespace tavrin

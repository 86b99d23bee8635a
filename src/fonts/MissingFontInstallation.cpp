#include "fonts/MissingFontInstallation.h"

#include "fonts/FontMatching.h"

#include <QFileInfo>

#include <algorithm>

namespace tavrin {

const QString kFontInstallationPanelTitle =
    QStringLiteral("TO INSTALL MISSING FONT(S), Right Click on font File(s) and click INSTALL FOR ALL USERS");

namespace {

const QString kOneMissingHeading = QStringLiteral(
    "                           MISSING FONT\n\nThe font required, but not installed on this computer, is:\r\n");
const QString kSeveralMissingHeading =
    QStringLiteral("           \r\n                MISSING FONTS\n\nThe fonts required, but not installed on this "
                   "computer, are:\r\n");
const QString kMessageFormat =
    QStringLiteral("%1\r\n%2\r\nClick 'OK' to install missing font(s) on the next panel\nusing the following "
                   "procedure:\n\nFor each missing font to be installed, RIGHT click\r\non the font name and "
                   "select 'Install for all users'");

} // namespace

QString MissingFontsMessage(const QStringList &names)
{
    QString block;
    for (const QString &name : names)
        block += QString(26, u' ') + name + QStringLiteral("\r\n");
    const QString &heading = names.size() == 1 ? kOneMissingHeading : kSeveralMissingHeading;
    // Substituted in one pass, so a "%" in a font name stays as it is.
    return kMessageFormat.arg(heading, block);
}

FontInstallationOutcome InstallMissingFonts(QString &missingFontsList, const QString &workingFolder,
                                            const QString &backgroundImagePath, Prompter &prompter,
                                            const FontServices &services)
{
    QStringList missing = MissingFontNames(missingFontsList);
    const QString panelFolder =
        backgroundImagePath.isEmpty() ? workingFolder : QFileInfo(backgroundImagePath).path();
    while (!missing.isEmpty()) {
        if (prompter.askOkCancel(MissingFontsMessage(missing)) != Answer::Ok)
            return FontInstallationOutcome::GaveUp;
        if (prompter.askFontInstallation(kFontInstallationPanelTitle, panelFolder) == Answer::Ok)
            return FontInstallationOutcome::GaveUp;

        // Fonts the panel installed are known to fontconfig already; the cleared cache makes the
        // checks below, and the text drawing, see them.
        ClearFontMatchCache();
        QStringList stillMissing;
        for (const QString &name : std::as_const(missing)) {
            if (services.isInstalled && services.isInstalled(name))
                RemoveWorkingFontCopy(name, workingFolder, services.findFile);
            else
                stillMissing.append(name);
        }
        missing = stillMissing;
    }
    missingFontsList.clear();
    return FontInstallationOutcome::AllInstalled;
}

namespace {

bool CarriedStyleInstalled(const CarriedFace &face)
{
    const MatchedFace installed = MatchFace(face.family, face.bold, face.italic);
    return installed.installed && installed.styleAvailable;
}

const CarriedFace *OfferedCarriedFace(const std::vector<CarriedFace> &carried, const QString &name)
{
    for (const CarriedFace &face : carried) {
        if (face.displayName() == name)
            return &face;
    }
    return nullptr;
}

} // namespace

QStringList FacesToOffer(const QString &missingFontsList, const std::vector<CarriedFace> &carried)
{
    QStringList offered = MissingFontNames(missingFontsList);
    const QStringList missing = offered;
    for (const CarriedFace &face : carried) {
        const QString name = face.displayName();
        if (offered.contains(name) || CarriedStyleInstalled(face))
            continue;
        const bool standsForMissing = !face.bold && !face.italic
                                      && std::any_of(missing.begin(), missing.end(),
                                                     [&face](const QString &m) { return face.answersTo(m); });
        if (!standsForMissing)
            offered.append(name);
    }
    return offered;
}

FontServices OfferedFaceServices(const std::vector<CarriedFace> &carried, const FontServices &system)
{
    FontServices services;
    services.isInstalled = [carried, system](const QString &name) {
        if (const CarriedFace *face = OfferedCarriedFace(carried, name); face && (face->bold || face->italic))
            return CarriedStyleInstalled(*face);
        return system.isInstalled && system.isInstalled(name);
    };
    services.findFile = [carried, system](const QString &name) {
        if (const CarriedFace *face = OfferedCarriedFace(carried, name); face && (face->bold || face->italic))
            return FindFontFile(face->family, face->bold, face->italic);
        return system.findFile ? system.findFile(name) : QString();
    };
    return services;
}

bool OfferOpeningFonts(QString &missingFontsList, const std::vector<CarriedFace> &carried,
                       const QString &workingFolder, const QString &backgroundImagePath, Prompter &prompter,
                       const FontServices &system)
{
    const QStringList offered = FacesToOffer(missingFontsList, carried);
    if (offered.isEmpty())
        return true;
    const FontServices services = OfferedFaceServices(carried, system);
    QString list = MissingFontsListText(offered);
    if (InstallMissingFonts(list, workingFolder, backgroundImagePath, prompter, services)
        == FontInstallationOutcome::AllInstalled) {
        missingFontsList.clear();
        return true;
    }
    // Given up: the carried files draw what is not installed; a font that is neither cannot be
    // drawn at all, and the open stops.
    QStringList stillMissing;
    bool drawable = true;
    for (const QString &name : MissingFontNames(missingFontsList)) {
        if (system.isInstalled && system.isInstalled(name))
            continue;
        stillMissing.append(name);
        drawable = drawable && std::any_of(carried.begin(), carried.end(),
                                           [&name](const CarriedFace &face) { return face.answersTo(name); });
    }
    missingFontsList = MissingFontsListText(stillMissing);
    return drawable;
}

} // namespace tavrin

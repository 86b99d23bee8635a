#include "fonts/MissingFontInstallation.h"

#include "fonts/FontMatching.h"

#include <QFileInfo>

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

} // namespace tavrin

#include "fonts/OpeningFontCheck.h"

namespace tavrin {

OpeningFontCheck::OpeningFontCheck(const QString &workingFolder, FontServices services)
    : workingFolder_(workingFolder), services_(std::move(services))
{
}

void OpeningFontCheck::check(const QString &font, const QString &text)
{
    if (font.isEmpty())
        return;
    const bool installed = text.isEmpty() || !services_.isInstalled || services_.isInstalled(font);
    if (installed) {
        if (handledNames_.contains(font))
            return;
        RemoveWorkingFontCopy(font, workingFolder_, services_.findFile);
        handledNames_.append(font);
        handled += font + u',';
        return;
    }
    if (missingNames_.contains(font))
        return;
    missingNames_.append(font);
    missingFonts += font + QStringLiteral("\r\n");
}

} // namespace tavrin

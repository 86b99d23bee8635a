#include "cli/CarriedFonts.h"

#include "cli/CliBoard.h"

#include "document/BoardDocument.h"
#include "fonts/CarriedFontFiles.h"
#include "fonts/FontInventory.h"
#include "fonts/FontMatching.h"

#include <algorithm>

namespace tavrin::cli {

bool UseCarriedFonts(QString &missingFontsList)
{
    // The open registered the package's font files for this process already; what they cannot
    // draw, the render names in its warnings.
    const std::vector<CarriedFace> carried = CarriedFaces();
    QStringList stillMissing;
    for (const QString &name : MissingFontNames(missingFontsList)) {
        const bool drawable = IsFontInstalled(name)
                              || std::any_of(carried.begin(), carried.end(),
                                             [&name](const CarriedFace &face) { return face.answersTo(name); });
        if (!drawable)
            stillMissing.append(name);
    }
    missingFontsList = MissingFontsListText(stillMissing);
    return true;
}

void PrintFontWarnings(const QString &layoutPath, const BoardDocument &document)
{
    for (const QString &warning : SubstitutionWarnings(document.fontSubstitutions(), document.layout()))
        PrintLayoutFailure(layoutPath, QStringLiteral("warning: ") + warning);
}

} // namespace tavrin::cli

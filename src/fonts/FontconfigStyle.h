#pragma once

// For the fontconfig lookups of this folder only.
#include <fontconfig/fontconfig.h>

namespace tavrin {

// The style the matched font really has: fontconfig marks styles it would fake (a slanted or
// emboldened regular face) with a matrix or the embolden flag and reports the asked-for style.
inline bool HasStyle(FcPattern *font, bool bold, bool italic)
{
    FcBool embolden = FcFalse;
    FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden);
    FcMatrix *matrix = nullptr;
    const bool slantedByMatrix = FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix
                                 && matrix->xy != 0.0;
    if (bold) {
        double weight = FC_WEIGHT_REGULAR;
        FcPatternGetDouble(font, FC_WEIGHT, 0, &weight);
        if (embolden || weight < FC_WEIGHT_DEMIBOLD)
            return false;
    }
    if (italic) {
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        if (slantedByMatrix || slant == FC_SLANT_ROMAN)
            return false;
    }
    return true;
}

} // namespace tavrin

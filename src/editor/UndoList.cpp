#include "editor/UndoList.h"

namespace tavrin {

bool SameStripForUndo(const Strip &a, const Strip &b)
{
    Strip left = a;
    Strip right = b;
    for (Strip *strip : {&left, &right}) {
        strip->Picture.ImageHiddenOnWhite = 0;
        strip->Picture.SubImageCropPercentageX = 0;
        strip->Picture.SubImageCropPercentageY = 0;
    }
    return left == right;
}

} // namespace tavrin

// The save command's TV image written on its own, for batch work that wants the image alone.
#include "editor/Editor.h"

#include "document/RotationSetting.h"
#include "images/TvImageOutput.h"

namespace tavrin {

bool Editor::ExportTvImage(const QString &target)
{
    // The same steps as the save up to its image: the prices lose their edit marks first.
    CleanPriceTexts();
    LeaveEditModes();
    // No package is written: the fonts are not gathered into the working folder.
    auto *const fonts = renderer.fontList;
    renderer.fontList = nullptr;
    QImage board = RenderOutputBoard();
    renderer.fontList = fonts;
    if (board.isNull())
        return false;
    // Only a portrait board is turned; the question starts from the remembered choice, as the
    // save's does, but an image written on its own changes nothing the editor remembers.
    if (board.width() < board.height())
        board = RotateForTv(board, prompter_->askTvRotation(ReadRotationSetting(paths.dataFolder)));
    return SaveTvImage(board, target, TvImageFormatFor(backgroundName));
}

} // namespace tavrin

// Starting a new, empty board on a background of the user's choice.
#include "editor/Editor.h"

namespace tavrin {

void Editor::NewLayoutCommand()
{
    if (!PromptSaveOnClose())
        return;
    const QString chosen = AskBackgroundFile();
    const std::optional<GridSize> grid = chosen.isEmpty() ? std::nullopt : prompter_->askGridSize(GridSize{});
    if (grid)
        NewLayout(chosen, grid->columns, grid->rows);
}

bool Editor::NewLayout(const QString &backgroundPath, int columns, int rows)
{
    const DocumentResult made = document_.newBoard(backgroundPath, columns, rows);
    if (!made) {
        if (!made.message.isEmpty())
            prompter_->showMessage(made.message);
        return false;
    }
    ShowNothingSelected();
    return true;
}

} // namespace tavrin

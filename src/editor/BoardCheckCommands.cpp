#include "editor/BoardCheckCommands.h"

#include "editor/Editor.h"

namespace tavrin {

std::vector<BoardFinding> CheckOpenBoard(Editor &editor, const BoardCheckOptions &options)
{
    if (editor.backgroundName.isEmpty())
        return {};
    BoardCheckInput input{editor.layout, {}, editor.layout.WhitePrintBackground, {}};
    input.sources.backgroundName = editor.backgroundName;
    input.sources.backgroundImagePath = editor.backgroundImagePath;
    input.sources.workingFolder = editor.paths.workingFolder;
    return CheckBoard(input, options);
}

void SelectStripOfFinding(Editor &editor, int column, int row)
{
    if (editor.backgroundName.isEmpty() || column < 0 || row < 0 || column >= editor.layout.boardColumns()
        || row >= editor.layout.boardRows())
        return;
    if (editor.editMode != EditMode::Idle)
        editor.LeaveCurrentMode();
    editor.EnterBackgroundMode({column, row});
}

} // namespace tavrin

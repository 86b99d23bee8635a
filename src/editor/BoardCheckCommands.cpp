#include "editor/BoardCheckCommands.h"

#include "check/DocumentCheck.h"
#include "editor/Editor.h"

namespace tavrin {

std::vector<BoardFinding> CheckOpenBoard(Editor &editor, const BoardCheckOptions &options)
{
    return CheckBoardDocument(editor.document(), options);
}

void SelectStripOfFinding(Editor &editor, int column, int row)
{
    if (!editor.document().hasBoard() || column < 0 || row < 0 || column >= editor.layout().boardColumns()
        || row >= editor.layout().boardRows())
        return;
    if (editor.editMode() != EditMode::Idle)
        editor.LeaveCurrentMode();
    editor.EnterBackgroundMode({column, row});
}

} // namespace tavrin

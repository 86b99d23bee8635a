#pragma once

#include "check/BoardCheck.h"

namespace tavrin {

class Editor;

// The window's board-check commands on the open board.

// "Check Board": the findings for the open board as the TV image would show it.
std::vector<BoardFinding> CheckOpenBoard(Editor &editor, const BoardCheckOptions &options = {});

// Selects the strip at (column, row) as a click on its frame would.
void SelectStripOfFinding(Editor &editor, int column, int row);

} // namespace tavrin

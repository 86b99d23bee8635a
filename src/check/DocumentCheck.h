#pragma once

#include "check/BoardCheck.h"

namespace tavrin {

class BoardDocument;

// The check of the document's board as the TV image would show it; nothing without a board.
std::vector<BoardFinding> CheckBoardDocument(const BoardDocument &document, const BoardCheckOptions &options = {});

} // namespace tavrin

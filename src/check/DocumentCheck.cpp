#include "check/DocumentCheck.h"

#include "document/BoardDocument.h"

namespace tavrin {

std::vector<BoardFinding> CheckBoardDocument(const BoardDocument &document, const BoardCheckOptions &options)
{
    if (!document.hasBoard())
        return {};
    BoardCheckInput input{document.layout(), {}, document.whitePrint(), {}};
    input.sources.backgroundName = document.backgroundName();
    input.sources.backgroundImagePath = document.backgroundImagePath();
    input.sources.workingFolder = document.workingFolder();
    return CheckBoard(input, options);
}

} // namespace tavrin

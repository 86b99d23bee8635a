// Printing the board: "print.jpg" in the data folder, handed to the print dialog.
#include "editor/Editor.h"

#include "editor/SaveFeedback.h"
#include "document/SaveOutput.h"

namespace tavrin {

void Editor::PrintCommand()
{
    SaveFeedback &screen = feedback();
    screen.setWaitCursor(true);
    const QImage board = RenderOutputBoard();
    const QString printImage = WriteTvImage(board, QString(), /*printing=*/true);
    screen.setWaitCursor(false);
    screen.movePointerToWindowCentre();
    // An image that could not be written ends the command without a word.
    if (printImage.isEmpty())
        return;
    if (prompter_->askOkCancel(kPrintInstructionsText) == Answer::Ok)
        screen.printImage(printImage);
}

} // namespace tavrin

// Printing the board: "print.jpg" in the data folder, handed to the print dialog.
#include "editor/Editor.h"

#include "document/SaveOutput.h"
#include "editor/SaveFeedback.h"

namespace tavrin {

void Editor::PrintCommand()
{
    SaveFeedback &screen = feedback();
    screen.setWaitCursor(true);
    TvImageJob job;
    job.board = document_.renderOutput();
    job.printing = true;
    job.dataFolder = paths_.dataFolder;
    job.backgroundName = document_.backgroundName();
    const QString printImage = WriteTvImageFile(job);
    screen.setWaitCursor(false);
    screen.movePointerToWindowCentre();
    // An image that could not be written ends the command without a word.
    if (printImage.isEmpty())
        return;
    if (prompter_->askOkCancel(kPrintInstructionsText) == Answer::Ok)
        screen.printImage(printImage);
}

} // namespace tavrin

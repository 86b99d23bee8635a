// The save command of the editing screen: the dialog, the questions, the please-wait window and
// the result; the writing itself is the document's.
#include "editor/Editor.h"

#include "document/MessageTexts.h"
#include "document/RotationSetting.h"
#include "document/SaveOutput.h"
#include "editor/SaveFeedback.h"
#include "layout/PathText.h"

#include <QFileInfo>

namespace tavrin {

SaveFeedback &Editor::feedback()
{
    static SaveFeedback plain;
    return saveFeedback_ ? *saveFeedback_ : plain;
}

void Editor::LeaveEditModes()
{
    // Straight to idle: a save or a print leaves the strips where they are.
    editMode_ = EditMode::Idle;
    controls_.setText(ControlId::ModeLabel, QStringLiteral("EDIT MODE:  IDLE"));
    for (ControlId id : {ControlId::LoadNewPicture, ControlId::DeletePicture, ControlId::DeleteMenuItem,
                         ControlId::SelectedText, ControlId::AllText, ControlId::MenuItemTextToBeMovedGroup})
        controls_.setEnabled(id, false);
    ShowNothingSelected();
}

QString Editor::AskSavePath()
{
    const bool whitePrint = whitePrintChecked();
    const QString proposed = document_.proposedSaveName(whitePrint);
    const QString chosen =
        prompter_->askSaveFileName(kSaveDialogTitle, paths_.currentFolder, proposed, kSaveDialogFilter);
    if (chosen.isEmpty())
        return {};
    const QString packagePath = PackagePathForChosenName(chosen, whitePrint);
    // The dialog asked only about the name as typed ("Menu2"); the files the save replaces have
    // names of their own, and each existing one is replaced only when the user says so.
    for (const QString &target : {PackagePathToWrite(packagePath), TvImagePathBeside(packagePath, whitePrint)}) {
        if (target == chosen || !QFileInfo(target).exists())
            continue;
        if (prompter_->askYesNo(ReplaceQuestionText(FileNamePart(target))) != Answer::Yes)
            return {};
    }
    return packagePath;
}

int Editor::AskTvRotation()
{
    const QSize board = document_.boardSize();
    if (!(board.width() < board.height()))
        return 0;
    // The question starts from the choice remembered in the data folder and remembers the
    // answer; a setting that cannot be written only loses the remembered choice.
    const int rotation = prompter_->askTvRotation(ReadRotationSetting(paths_.dataFolder));
    WriteRotationSetting(paths_.dataFolder, rotation);
    return rotation;
}

void Editor::SaveLayoutAndTvImageCommand()
{
    SaveFeedback &screen = feedback();
    screen.setWaitCursor(true);
    LeaveEditModes();
    screen.setWaitCursor(false);
    screen.movePointerToWindowCentre();

    const QString chosen = AskSavePath();
    if (chosen.isEmpty())
        return;
    SaveOptions options;
    // Every file the save replaces was asked about.
    options.replaceExisting = true;
    options.rotation = AskTvRotation();

    screen.setWaitCursor(true);
    controls_.setEnabled(ControlId::Exit, false);
    const QString folder = WithoutTrailingSeparators(chosen.left(LastSeparatorIndex(chosen) + 1));
    const bool removable = screen.isRemovableDrive(folder);
    qint64 deadline = 0;
    if (removable) {
        screen.showPleaseWait(kPleaseWaitText);
        deadline = screen.clockMilliseconds() + kPleaseWaitMinimumMilliseconds;
    }
    screen.movePointerToProgressPoint();

    const DocumentResult saved = document_.save(chosen, options);

    // The notice stays up long enough to be read, and the window keeps painting meanwhile.
    if (removable) {
        for (qint64 now = screen.clockMilliseconds(); now < deadline; now = screen.clockMilliseconds())
            screen.keepWindowsAlive(deadline - now);
    }
    screen.setWaitCursor(false);
    if (saved) {
        paths_.currentFolder = folder;
        ShowTitle();
        for (const QString &notice : saved.notices)
            prompter_->showMessage(notice);
    }
    const QString whitePrintTv = TvImagePathBeside(chosen, whitePrintChecked());
    const QString outcome = saved ? SaveConfirmationText(FileNamePart(PackagePathToWrite(chosen)),
                                                         FileNamePart(whitePrintTv), folder, removable)
                                  : saved.message;
    if (removable)
        screen.closePleaseWait();
    prompter_->showSaveResult(outcome);

    controls_.setEnabled(ControlId::Exit, true);
    Refresh();
}

} // namespace tavrin

// Saving the layout package and the TV image side by side.
#include "editor/Editor.h"

#include "document/MessageTexts.h"
#include "editor/SaveFeedback.h"
#include "document/SaveOutput.h"
#include "editor/WindowTitle.h"
#include "layout/PathText.h"
#include "render/BoardGeometry.h"

#include <QFileInfo>

namespace tavrin {

SaveFeedback &Editor::feedback()
{
    static SaveFeedback plain;
    return saveFeedback ? *saveFeedback : plain;
}

void Editor::CleanPriceTexts()
{
    layout.forEachBoardStrip([](int, int, Strip &strip) {
        QString &prices = strip.prices().Text;
        prices.remove(QLatin1Char('~'));
        if (prices.endsWith(QLatin1Char(' ')))
            prices.chop(1);
    });
}

void Editor::LeaveEditModes()
{
    // Straight to idle: a save or a print leaves the strips where they are.
    editMode = EditMode::Idle;
    controls_.setText(ControlId::ModeLabel, QStringLiteral("EDIT MODE:  IDLE"));
    for (ControlId id : {ControlId::LoadNewPicture, ControlId::DeletePicture, ControlId::DeleteMenuItem,
                         ControlId::SelectedText, ControlId::AllText, ControlId::MenuItemTextToBeMovedGroup})
        controls_.setEnabled(id, false);
    ShowNothingSelected();
}

QImage Editor::RenderOutputBoard()
{
    HandStateToRenderer();
    // At the board's own resolution whatever the window's size, so that the files written are
    // the same from every window and from the command line.
    const QImage board = renderer.renderForOutput(BoardScaleRegion(), whitePrintChecked());
    // Back to the preview's own geometry and proxies.
    LayOutPreview(false);
    return board;
}

QString Editor::AskSavePath()
{
    // A layout that did not come from a package is saved as one from now on.
    if (!fromPackage)
        layoutName.replace(QLatin1String(".jpg"), QLatin1String(".MARBIX"));
    const bool whitePrint = whitePrintChecked();
    const QString proposed = ProposedSaveName(layoutName, whitePrint);
    const QString chosen =
        prompter_->askSaveFileName(kSaveDialogTitle, paths.currentFolder, proposed, kSaveDialogFilter);
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

namespace {

TvImageJob JobFor(Editor &editor, const QImage &board, const QString &packagePath, bool printing)
{
    TvImageJob job;
    job.board = board;
    job.packagePath = packagePath;
    job.whitePrint = editor.whitePrintChecked();
    job.printing = printing;
    job.dataFolder = editor.paths.dataFolder;
    job.backgroundName = editor.backgroundName;
    job.chooseRotation = [&editor](int last) { return editor.prompter().askTvRotation(last); };
    job.rememberRotation = editor.rememberTvRotation;
    return job;
}

} // namespace

QString Editor::WriteTvImage(const QImage &board, const QString &packagePath, bool printing)
{
    return WriteTvImageFile(JobFor(*this, board, packagePath, printing));
}

void Editor::SaveLayoutAndTvImageCommand()
{
    SaveFeedback &screen = feedback();
    CleanPriceTexts();

    screen.setWaitCursor(true);
    LeaveEditModes();
    // The output render lists the fonts the package carries; its board becomes the TV image.
    const QImage board = RenderOutputBoard();
    screen.setWaitCursor(false);
    screen.movePointerToWindowCentre();

    const QString chosen = AskSavePath();
    if (chosen.isEmpty())
        return;

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

    layoutName = FileNamePart(chosen);
    paths.currentFolder = folder;
    if (!fromPackage)
        legacyDocumentName = layoutName;
    controls_.setWindowTitle(WindowTitleText(layoutName) + renderer.resolutionText());

    const SavedLayoutFiles saved = WriteLayoutAndTvImage(
        JobFor(*this, board, chosen, false), {layout, fromPackage, backgroundImagePath, fontList, paths.workingFolder},
        *prompter_);

    // The notice stays up long enough to be read, and the window keeps painting meanwhile.
    if (removable) {
        for (qint64 now = screen.clockMilliseconds(); now < deadline; now = screen.clockMilliseconds())
            screen.keepWindowsAlive(deadline - now);
    }
    screen.setWaitCursor(false);
    const QString outcome = saved.ok ? SaveConfirmationText(FileNamePart(saved.packagePath),
                                                            FileNamePart(saved.tvImagePath), folder, removable)
                                     : kSaveFailureText;
    if (removable)
        screen.closePleaseWait();
    prompter_->showSaveResult(outcome);

    controls_.setEnabled(ControlId::Exit, true);
    Refresh();
    // Only a save that wrote both files makes the edits safe: after a failure they are still
    // unsaved, and the close check must ask again rather than let them go.
    if (saved.ok)
        modified = false;
}

} // namespace tavrin

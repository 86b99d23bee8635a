#include "editor/Editor.h"

#include "editor/ColourPalette.h"
#include "editor/WindowTitle.h"
#include "layout/StripOperations.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"
#include "platform/InstanceLock.h"
#include "render/BoardGeometry.h"

#include <QDir>

namespace tavrin {

Editor::Editor(Controls &controls, Prompter &prompter, BoardDocument &document)
    : document_(document), controls_(controls), prompter_(&prompter), renderer_(document.layout(), geometry_)
{
    MenuLayout unused;
    InitialiseNewEditorLayout(unused, workingStrip_, geometry_, PaletteColour(paletteEntry_));
    listener_ = document_.addListener([this](const BoardChanged &change) { OnBoardChanged(change); });
}

Editor::~Editor() { document_.removeListener(listener_); }

void Editor::Initialise(qint64 startTime, qint64 processId, InstanceLock *lock)
{
    paths_.dataFolder = DataFolderPath();
    const QString workingFolder = paths_.dataFolder + QLatin1Char('/') + WorkingFolderName(startTime, processId);

    // Working folders left by earlier runs go, unless another run may still be using its own.
    if (!otherInstanceRunning_)
        RemoveObsoleteZUPFolders(paths_.dataFolder, *prompter_, workingFolder);

    MakeFolder(paths_.dataFolder);
    if (lock)
        lock->acquireIfNotHeld(paths_.dataFolder);
    MakeFolder(workingFolder);
    EmptyFolder(workingFolder);
    document_.adoptWorkingFolder(workingFolder);

    paths_.programFolder = ProgramFolderPath();
    paths_.currentFolder = paths_.programFolder;

    ShowTitle();
    EnableEditingControls(false);
    controls_.setEnabled(ControlId::Redo, false);

    currentFontName_ = QStringLiteral("Segoe UI");
    controls_.setText(ControlId::FontBox, currentFontName_);
    lastPictureFolder_.clear();
}

bool Editor::whitePrintChecked() const { return controls_.isChecked(ControlId::WhitePrintFormat); }

void Editor::setWhitePrint(bool on)
{
    controls_.setChecked(ControlId::WhitePrintFormat, on);
    document_.setWhitePrint(on);
}

bool Editor::PromptSaveOnClose()
{
    if (whitePrintChecked()) {
        setWhitePrint(false);
        Refresh();
    }
    if (document_.isModified()) {
        switch (prompter_->askYesNoCancel(QStringLiteral("Do you wish to save this image?"))) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            // The close goes on only when the save succeeded: a cancelled or failed save leaves
            // the edits unsaved, and they must not be dropped without a No.
            RunSaveCommand();
            if (document_.isModified())
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

void Editor::RemoveWorkingFolder()
{
    EmptyFolder(document_.workingFolder());
    QDir().rmdir(document_.workingFolder());
}

bool Editor::ExitButton()
{
    if (whitePrintChecked()) {
        setWhitePrint(false);
        Refresh();
    }
    if (!PromptSaveOnClose())
        return false;
    RemoveWorkingFolder();
    return true;
}

bool Editor::CloseRequested() { return PromptSaveOnClose(); }

void Editor::WindowDestroyed() { RemoveWorkingFolder(); }

void Editor::EnableEditingControls(bool enable)
{
    static constexpr ControlId kSwitched[] = {
        ControlId::SaveLayoutAndTvImage, ControlId::Print,          ControlId::WhitePrintFormat,
        ControlId::LoadNewPicture,       ControlId::MoveUp,         ControlId::MoveLeft,
        ControlId::MoveRight,            ControlId::MoveDown,       ControlId::MoveTextGroup,
        ControlId::SizeLarger,           ControlId::SizeSmaller,    ControlId::SizeNarrower,
        ControlId::SizeWider,            ControlId::SizeTextGroup,  ControlId::SizeReadout,
        ControlId::LineSpacingUp,        ControlId::LineSpacingDown, ControlId::LineSpacingLabel,
        ControlId::SizeAndMoveIncrementGroup, ControlId::Micro,     ControlId::Macro,
        ControlId::TabSpacingLabel,      ControlId::TabSpacingReadout, ControlId::TabSpacingDown,
        ControlId::TabSpacingUp,         ControlId::CalSpacingLabel, ControlId::CalSpacingReadout,
        ControlId::CalSpacingDown,       ControlId::CalSpacingUp,   ControlId::TabInstructions,
    };
    for (ControlId id : kSwitched)
        controls_.setEnabled(id, enable);
    controls_.setChecked(ControlId::Micro, false);
    controls_.setChecked(ControlId::Macro, false);
    // The vertical grid only means something when there is more than one column.
    controls_.setEnabled(ControlId::DisplayVerticalGrid, enable && layout().NumberOfColumns > 1);

    static constexpr ControlId kNeedSelection[] = {
        ControlId::DeleteMenuItem, ControlId::DeletePicture, ControlId::AllText,
        ControlId::SelectedText,   ControlId::MenuItemTextToBeMovedGroup,
    };
    for (ControlId id : kNeedSelection)
        controls_.setEnabled(id, false);
}

void Editor::SetBoardReadyState()
{
    EnableEditingControls(true);
    static constexpr ControlId kWaitForSelection[] = {
        ControlId::SizeNarrower,      ControlId::SizeWider,      ControlId::SizeTextGroup,
        ControlId::TabSpacingLabel,   ControlId::TabSpacingReadout, ControlId::TabSpacingDown,
        ControlId::TabSpacingUp,      ControlId::CalSpacingLabel, ControlId::CalSpacingReadout,
        ControlId::CalSpacingDown,    ControlId::CalSpacingUp,
    };
    for (ControlId id : kWaitForSelection)
        controls_.setEnabled(id, false);
}

void Editor::ShowTitle()
{
    if (!document_.hasBoard() && document_.names().layoutName.isEmpty()) {
        controls_.setWindowTitle(WindowTitleText(QString()));
        return;
    }
    const LayoutFileNames &names = document_.names();
    QString title = WindowTitleText(names.isPackage ? names.layoutName : names.legacyDocumentName);
    if (const std::optional<BackgroundReading> &read = renderer_.backgroundReading(); read && !renderer_.backgroundReadingPending)
        title += ResolutionSuffix(read->size.width(), read->size.height(), read->pixelsPerInch);
    controls_.setWindowTitle(title);
}

void Editor::HandStateToRenderer()
{
    renderer_.sources.backgroundName = document_.backgroundName();
    renderer_.sources.backgroundImagePath = document_.backgroundImagePath();
    renderer_.sources.workingFolder = document_.workingFolder();
    renderer_.sources.backgroundProxy = backgroundProxyInUse_;
    renderer_.options.pictureProxies = pictureProxiesInUse_;
    renderer_.options.whitePrint = document_.whitePrint();
}

QRect Editor::PreviewRegionOfWindow() const
{
    const QRect anchor = controls_.controlRect(ControlId::MainItemBox);
    return PreviewRegion(controls_.clientSize(), anchor.isValid() ? std::optional<QRect>(anchor) : std::nullopt);
}

bool Editor::Refresh(RefreshRequest request)
{
    HandStateToRenderer();
    const bool hadPendingReading = renderer_.backgroundReadingPending;
    const bool ok = renderer_.refresh(PreviewRegionOfWindow(), request.erase, request.geometryOnly);
    if (hadPendingReading && !renderer_.backgroundReadingPending && renderer_.backgroundReading())
        ShowTitle();
    if (onRefresh)
        onRefresh(request);
    return ok;
}

void Editor::WindowResized()
{
    if (!document_.hasBoard())
        return;
    ClearAllGeometry(geometry_);
    Refresh({true, true});
    RebuildGrid(layout(), renderer_.preview(), geometry_);
    Refresh();
}

void Editor::LayOutPreview(bool erase)
{
    Refresh({erase, true});
    RebuildGrid(layout(), renderer_.preview(), geometry_);
    Refresh({erase, false});
}

void Editor::RunSaveCommand()
{
    if (saveCommand)
        saveCommand();
    else
        SaveLayoutAndTvImageCommand();
}

bool Editor::ChangeBoard(const QString &label, const std::function<void(MenuLayout &)> &edit)
{
    ChangeInfo info;
    info.label = label;
    info.mergeKey = QStringLiteral("action %1").arg(actionSerial_);
    info.mergeWithinMs = -1;
    return document_.apply(info, [&](BoardEdit &board) { edit(board.layout); });
}

void Editor::StartNewAction()
{
    ++actionSerial_;
    document_.endMerging();
}

void Editor::OnBoardChanged(const BoardChanged &change)
{
    // Another board is open now (opened, new, converted, from any front end): the screen shows
    // it with nothing selected.
    if (change.wholeBoard)
        ShowOpenedBoard();
    EnableHistoryButtons();
}

void Editor::EnableHistoryButtons()
{
    controls_.setEnabled(ControlId::Undo, document_.canUndo());
    controls_.setEnabled(ControlId::Redo, document_.canRedo());
}

} // namespace tavrin

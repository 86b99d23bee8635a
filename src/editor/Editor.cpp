#include "editor/Editor.h"

#include "editor/ColourPalette.h"
#include "editor/WindowTitle.h"
#include "fonts/FontInventory.h"
#include "layout/StripOperations.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"
#include "platform/InstanceLock.h"
#include "render/BoardGeometry.h"

#include <QDir>

namespace tavrin {

Editor::Editor(Controls &controls, Prompter &prompter)
    : controls_(controls), prompter_(&prompter)
{
    InitialiseNewEditorLayout(layout, workingStrip, geometry, PaletteColour(paletteEntry));
    // Output renders, and a gathering refresh, collect the layout's fonts into fontList.
    renderer.fontList = &fontList;
    renderer.substitutions = &fontSubstitutions;
}

void Editor::Initialise(qint64 startTime, qint64 processId, InstanceLock *lock)
{
    paths.dataFolder = DataFolderPath();
    paths.workingFolder = paths.dataFolder + QLatin1Char('/') + WorkingFolderName(startTime, processId);

    // Working folders left by earlier runs go, unless another run may still be using its own.
    if (!otherInstanceRunning)
        RemoveObsoleteZUPFolders(paths.dataFolder, *prompter_, paths.workingFolder);

    MakeFolder(paths.dataFolder);
    if (lock)
        lock->acquireIfNotHeld(paths.dataFolder);
    MakeFolder(paths.workingFolder);

    paths.programFolder = ProgramFolderPath();
    paths.currentFolder = paths.programFolder;

    backgroundName.clear();
    layoutName.clear();
    SetTitle(QString());

    EnableEditingControls(false);
    controls_.setEnabled(ControlId::Redo, false);

    currentFontName = QStringLiteral("Segoe UI");
    controls_.setText(ControlId::FontBox, currentFontName);

    backgroundImagePath.clear();
    layoutBackgroundPath.clear();
    lastPictureFolder.clear();

    EmptyFolder(paths.workingFolder);
}

bool Editor::whitePrintChecked() const { return controls_.isChecked(ControlId::WhitePrintFormat); }

void Editor::setWhitePrint(bool on)
{
    controls_.setChecked(ControlId::WhitePrintFormat, on);
    layout.WhitePrintBackground = on;
}

bool Editor::PromptSaveOnClose()
{
    if (whitePrintChecked()) {
        setWhitePrint(false);
        Refresh();
    }
    if (modified) {
        switch (prompter_->askYesNoCancel(QStringLiteral("Do you wish to save this image?"))) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            // The close goes on only when the save succeeded: a cancelled or failed save leaves
            // the modified flag set, and the edits must not be dropped without a No.
            RunSaveCommand();
            if (modified)
                return false;
            break;
        default:
            break;
        }
    }
    modified = false;
    return true;
}

void Editor::RemoveWorkingFolder()
{
    EmptyFolder(paths.workingFolder);
    QDir().rmdir(paths.workingFolder);
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
    controls_.setEnabled(ControlId::DisplayVerticalGrid, enable && layout.NumberOfColumns > 1);

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

void Editor::SetTitle(const QString &name) { controls_.setWindowTitle(WindowTitleText(name)); }

void Editor::HandStateToRenderer()
{
    renderer.sources.backgroundName = backgroundName;
    renderer.sources.backgroundImagePath = backgroundImagePath;
    renderer.sources.workingFolder = paths.workingFolder;
    renderer.sources.backgroundProxy = backgroundProxyInUse;
    renderer.options.pictureProxies = pictureProxiesInUse;
    renderer.options.whitePrint = layout.WhitePrintBackground;
    renderer.options.fontGathering = fontGathering;
}

QRect Editor::PreviewRegionOfWindow() const
{
    const QRect anchor = controls_.controlRect(ControlId::MainItemBox);
    return PreviewRegion(controls_.clientSize(), anchor.isValid() ? std::optional<QRect>(anchor) : std::nullopt);
}

bool Editor::Refresh(RefreshRequest request)
{
    HandStateToRenderer();
    if (!previewShown)
        return true;
    const bool hadPendingResolution = renderer.resolutionTextPending;
    const bool ok = renderer.refresh(PreviewRegionOfWindow(), request.erase, request.geometryOnly);
    if (hadPendingResolution && !renderer.resolutionTextPending && !renderer.resolutionText().isEmpty())
        controls_.setWindowTitle(WindowTitleText(fromPackage ? layoutName : legacyDocumentName)
                                 + renderer.resolutionText());
    if (onRefresh)
        onRefresh(request);
    return ok;
}

void Editor::WindowResized()
{
    if (backgroundName.isEmpty())
        return;
    ClearAllGeometry(geometry);
    Refresh({true, true});
    RebuildGrid(layout, renderer.preview(), geometry);
    Refresh();
}

void Editor::LayOutPreview(bool erase)
{
    Refresh({erase, true});
    RebuildGrid(layout, renderer.preview(), geometry);
    Refresh({erase, false});
}

void Editor::RunSaveCommand()
{
    if (saveCommand)
        saveCommand();
}

} // namespace tavrin

// Starting a new, empty board on a background of the user's choice.
#include "editor/ColourPalette.h"
#include "editor/Editor.h"
#include "document/MessageTexts.h"
#include "layout/StripOperations.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <QDateTime>

namespace tavrin {

void Editor::NewLayoutCommand()
{
    // A new board that does not come about leaves the open one as it was, still to be saved.
    const bool wasModified = modified;
    if (!PromptSaveOnClose())
        return;
    const QString chosen = AskBackgroundFile();
    const std::optional<GridSize> grid = chosen.isEmpty() ? std::nullopt : prompter_->askGridSize(GridSize{});
    if (!grid || !NewLayout(chosen, grid->columns, grid->rows))
        modified = wasModified;
}

bool Editor::NewLayout(const QString &backgroundPath, int columns, int rows)
{
    if (columns < 1 || columns > kMaxColumns || rows < 1 || rows > kMaxRows)
        return false;
    // The open board stays as it is until the new one's background is safely in its own folder.
    const QString fresh = MakeOpeningFolder();
    if (fresh.isEmpty() || !CopyBackgroundInto(backgroundPath, fresh)) {
        if (!fresh.isEmpty())
            RemoveOwnFolder(fresh);
        return false;
    }
    SwitchWorkingFolder(fresh);

    editMode = EditMode::Idle;
    migrationPending = false;
    fontGathering = false;
    selectedGroup = -1;
    lastTextEditedGroup = -1;
    undoList.clear();
    redoList.clear();
    parkedRedo_.clear();
    parkedAtUndoSize_ = -1;
    EnableHistoryButtons();

    InitialiseNewEditorLayout(layout, workingStrip, geometry, PaletteColour(paletteEntry));
    layout.NumberOfColumns = columns;
    layout.NumberOfRows = rows;
    setWhitePrint(false);
    fontList = FontList{};
    missingFontsList.clear();

    // A new board is saved as a package, named by the user at its first save.
    fromPackage = true;
    layoutName = kUntitledLayoutName;
    legacyDocumentName.clear();
    baseName = QStringLiteral("Untitled");
    layoutBackgroundPath = backgroundPath;
    renderer.resolutionTextPending = true;
    SetTitle(layoutName);

    ShowChosenBackground(backgroundPath);
    pickedFolder = layoutFolder + QLatin1Char('/');
    paths.currentFolder = layoutFolder;
    controls_.setEnabled(ControlId::DisplayVerticalGrid, columns > 1);
    SetIdleEditingControls();
    ShowNothingSelected();
    controls_.setText(ControlId::ModeLabel, ModeLabelText(EditMode::Idle));
    modified = false;
    ignoreClicksBefore = QDateTime::currentMSecsSinceEpoch();
    return true;
}

} // namespace tavrin

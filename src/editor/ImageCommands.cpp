// The background and picture load commands of the editor, and the proxy switches they set.

#include "editor/ColourPalette.h"
#include "editor/Editor.h"
#include "images/ImageImport.h"
#include "images/Proxies.h"
#include "layout/PathText.h"
#include "platform/SafeFile.h"
#include "render/BoardGeometry.h"

#include <QFile>

namespace tavrin {

namespace {

const QString kBackgroundDialogTitle = QStringLiteral("Open Menu Background jpg Image File");
const QString kBackgroundFilter = QStringLiteral("MARBIX Backgroundfile (*.jpg)");
const QString kPictureDialogTitle = QStringLiteral("Open Picture File");
// The description the dialog shows is "Picture*.jpg;*.jpeg;*.gif;*.png"; the patterns follow it.
const QString kPictureFilter = QStringLiteral("Picture*.jpg;*.jpeg;*.gif;*.png (*.jpg *.jpeg *.gif *.png)");
const QString kUnsupportedBackgroundMessage = QStringLiteral("Sorry! Tavrin does not support this image format!");
const QString kIdleModeText = QStringLiteral("EDIT MODE:  IDLE");

// Replaces target with a copy of source; the old target stays whole when the copy fails.
bool CopyFileReplacing(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return WriteFileReplacing(target, in.readAll());
}

QString BackgroundNotCopiedMessage(const QString &chosen)
{
    return QStringLiteral("The background %1 could not be copied into the layout's working folder (the file cannot "
                          "be read, or the disk is full).\n\nThe board keeps its background.")
        .arg(FileNamePart(chosen));
}

bool IsStoreCell(int column, int row)
{
    return column >= 0 && column < kMaxColumns && row >= 0 && row < kMaxRows;
}

} // namespace

void Editor::LoadBackgroundCommand()
{
    if (!PromptSaveOnClose())
        return;
    setWhitePrint(false);
    renderer.resolutionTextPending = true;

    const QString startFolder = backgroundImagePath.isEmpty() ? paths.programFolder : backgroundImagePath;
    const QString chosen = prompter_->askOpenFileName(kBackgroundDialogTitle, startFolder, kBackgroundFilter);
    if (chosen.isEmpty())
        return;
    // The package takes the background from its copy in the working folder and the TV image
    // from the chosen file: when the copy cannot be made, the two would disagree. The board
    // keeps its old background and the user is told.
    if (!CopyFileReplacing(chosen, BackgroundCopyPath(paths.workingFolder))) {
        prompter_->showMessage(BackgroundNotCopiedMessage(chosen));
        return;
    }

    renderer.eraseOnce = true;
    SetTitle(fromPackage ? layoutName : legacyDocumentName);

    // The chosen file stays the background even when it cannot be drawn: the message below says
    // so and the preview stays empty.
    backgroundName = chosen;
    backgroundImagePath = chosen;
    MakeProxiesForLoadedBoard();
    SetBoardReadyState();
    layoutFolder = chosen.left(qMax<qsizetype>(0, LastSeparatorIndex(chosen)));
    Refresh({false, true});
    RebuildGrid(layout, renderer.preview(), geometry);
    const bool drawn = Refresh({true, false});

    paletteEntry = kPaletteWhite;
    for (ControlId box : {ControlId::MainItemBox, ControlId::SubItemsBox, ControlId::PricesBox})
        controls_.setText(box, QString());
    controls_.setText(ControlId::FontBox, currentFontName);
    Refresh({true, true});
    if (!drawn)
        prompter_->showMessage(kUnsupportedBackgroundMessage);

    renderer.eraseOnce = true;
    controls_.setFocus(ControlId::MainItemBox);
    modified = true;
}

void Editor::MakeProxiesForLoadedBoard()
{
    if (!previewShown) {
        backgroundProxyInUse = pictureProxiesInUse = false;
        return;
    }
    backgroundProxyInUse = MakeBackgroundProxy(paths.workingFolder, fromPackage, *prompter_);
    pictureProxiesInUse = MakeAllPictureProxies(layout, fromPackage, *prompter_);
}

QString Editor::AskPictureFile()
{
    const QString startFolder = lastPictureFolder.isEmpty() ? paths.programFolder : lastPictureFolder;
    return prompter_->askOpenFileName(kPictureDialogTitle, startFolder, kPictureFilter);
}

void Editor::LoadPictureCommand(int column, int row)
{
    const QString chosen = AskPictureFile();
    if (!chosen.isEmpty())
        LoadPictureInto(chosen, column, row);
}

void Editor::LoadNewPictureButton()
{
    const bool pictureMode = editMode == EditMode::Picture;
    if (!pictureMode && editMode != EditMode::Background && editMode != EditMode::Text)
        return;
    const QString chosen = AskPictureFile();
    if (chosen.isEmpty())
        return;
    if (editMode == EditMode::Text) {
        // A picture named while text is edited is taken as it is, from where it is.
        layout.strip(textCell.column, textCell.row).Picture.SubImageFileName = chosen;
        lastPictureFolder = chosen.left(LastSeparatorIndex(chosen));
        modified = true;
        Refresh({true, true});
        Refresh({true, false});
        controls_.setText(ControlId::ModeLabel, kIdleModeText);
        return;
    }
    const CellPosition cell = pictureMode ? pictureCell : backgroundCell;
    if (pictureMode)
        PushUndoSnapshot(cell.column, cell.row, 0);
    LoadPictureInto(chosen, cell.column, cell.row);
    LeaveCurrentMode();
}

void Editor::LoadPictureInto(const QString &path, int column, int row)
{
    if (!IsStoreCell(column, row))
        return;
    // A picture that could not be imported changes nothing; the user has been told.
    if (!ImportPicture(path, column, row))
        return;
    Refresh({true, true});
    Refresh({true, false});
    controls_.setText(ControlId::ModeLabel, kIdleModeText);
    lastPictureFolder = path.left(LastSeparatorIndex(path) + 1);
    // The strip has a new picture: closing without saving must ask first.
    modified = true;
}

bool Editor::ImportPicture(const QString &sourcePath, int column, int row)
{
    if (!IsStoreCell(column, row))
        return false;
    const std::optional<ImportedPicture> imported = ImportPictureFile(sourcePath, paths.workingFolder, *prompter_);
    if (!imported)
        return false;
    MakePictureProxy(imported->path, 0, *prompter_);

    StripPicture &picture = layout.strip(column, row).Picture;
    picture.SubImageBrightnessFactor = 0;
    picture.SubImageCropOriginPercentageX = 0;
    picture.SubImageCropOriginPercentageY = 0;
    picture.SubImageCropPercentageX = 100;
    picture.SubImageCropPercentageY = 100;
    picture.SubImageFileName = imported->path;
    pictureProxiesInUse = true;
    return true;
}

bool Editor::RebuildStripProxy(int column, int row)
{
    if (!IsStoreCell(column, row))
        return false;
    if (!tavrin::RebuildStripProxy(layout.strip(column, row).Picture, *prompter_))
        return false;
    pictureProxiesInUse = true;
    return true;
}

} // namespace tavrin

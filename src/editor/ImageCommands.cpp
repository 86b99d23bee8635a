// The background and picture load commands of the editing screen, and the proxy switches they set.

#include "editor/ColourPalette.h"
#include "editor/Editor.h"
#include "images/ImageImport.h"
#include "images/Proxies.h"
#include "layout/PathText.h"
#include "render/BoardGeometry.h"

namespace tavrin {

namespace {

const QString kBackgroundDialogTitle = QStringLiteral("Open Menu Background jpg Image File");
const QString kBackgroundFilter = QStringLiteral("MARBIX Backgroundfile (*.jpg)");
const QString kPictureDialogTitle = QStringLiteral("Open Picture File");
// The description the dialog shows is "Picture*.jpg;*.jpeg;*.gif;*.png"; the patterns follow it.
const QString kPictureFilter = QStringLiteral("Picture*.jpg;*.jpeg;*.gif;*.png (*.jpg *.jpeg *.gif *.png)");
const QString kUnsupportedBackgroundMessage = QStringLiteral("Sorry! Tavrin does not support this image format!");
const QString kIdleModeText = QStringLiteral("EDIT MODE:  IDLE");

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

    const QString chosen = AskBackgroundFile();
    if (chosen.isEmpty())
        return;
    StartNewAction();
    const DocumentResult loaded = document_.loadBackground(chosen);
    StartNewAction();
    if (!loaded) {
        prompter_->showMessage(loaded.message);
        return;
    }
    renderer_.backgroundReadingPending = true;
    ShowTitle();
    renderer_.eraseOnce = true;
    MakeProxiesForLoadedBoard();
    SetBoardReadyState();
    Refresh({false, true});
    RebuildGrid(layout(), renderer_.preview(), geometry_);
    const bool drawn = Refresh({true, false});

    paletteEntry_ = kPaletteWhite;
    for (ControlId box : {ControlId::MainItemBox, ControlId::SubItemsBox, ControlId::PricesBox})
        controls_.setText(box, QString());
    controls_.setText(ControlId::FontBox, currentFontName_);
    Refresh({true, true});
    // The chosen file stays the background even when it cannot be drawn: the message says so
    // and the preview stays empty.
    if (!drawn)
        prompter_->showMessage(kUnsupportedBackgroundMessage);
    renderer_.eraseOnce = true;
    controls_.setFocus(ControlId::MainItemBox);
}

QString Editor::AskBackgroundFile()
{
    const QString startFolder =
        document_.backgroundImagePath().isEmpty() ? paths_.programFolder : document_.backgroundImagePath();
    return prompter_->askOpenFileName(kBackgroundDialogTitle, startFolder, kBackgroundFilter);
}

void Editor::MakeProxiesForLoadedBoard()
{
    backgroundProxyInUse_ = MakeBackgroundProxy(document_.workingFolder(), document_.fromPackage(), *prompter_);
    pictureProxiesInUse_ = MakeAllPictureProxies(layout(), document_.fromPackage(), *prompter_);
}

QString Editor::AskPictureFile()
{
    const QString startFolder = lastPictureFolder_.isEmpty() ? paths_.programFolder : lastPictureFolder_;
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
    const bool pictureMode = editMode_ == EditMode::Picture;
    if (!pictureMode && editMode_ != EditMode::Background && editMode_ != EditMode::Text)
        return;
    const QString chosen = AskPictureFile();
    if (chosen.isEmpty())
        return;
    if (editMode_ == EditMode::Text) {
        // A picture named while text is edited is taken as it is, from where it is.
        ChangeBoard(QStringLiteral("Load Picture"), [&](MenuLayout &layout) {
            layout.strip(textCell_.column, textCell_.row).Picture.SubImageFileName = chosen;
        });
        lastPictureFolder_ = chosen.left(LastSeparatorIndex(chosen));
        Refresh({true, true});
        Refresh({true, false});
        controls_.setText(ControlId::ModeLabel, kIdleModeText);
        return;
    }
    const CellPosition cell = pictureMode ? pictureCell_ : backgroundCell_;
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
    lastPictureFolder_ = path.left(LastSeparatorIndex(path) + 1);
}

bool Editor::ImportPicture(const QString &sourcePath, int column, int row)
{
    if (!IsStoreCell(column, row))
        return false;
    const std::optional<ImportedPicture> imported =
        ImportPictureFile(sourcePath, document_.workingFolder(), *prompter_);
    if (!imported)
        return false;
    MakePictureProxy(imported->path, 0, *prompter_);

    ChangeBoard(QStringLiteral("Load Picture"), [&](MenuLayout &layout) {
        StripPicture &picture = layout.strip(column, row).Picture;
        picture.SubImageBrightnessFactor = 0;
        picture.SubImageCropOriginPercentageX = 0;
        picture.SubImageCropOriginPercentageY = 0;
        picture.SubImageCropPercentageX = 100;
        picture.SubImageCropPercentageY = 100;
        picture.SubImageFileName = imported->path;
    });
    pictureProxiesInUse_ = true;
    return true;
}

bool Editor::RebuildStripProxy(int column, int row)
{
    if (!IsStoreCell(column, row))
        return false;
    if (!tavrin::RebuildStripProxy(layout().strip(column, row).Picture, *prompter_))
        return false;
    pictureProxiesInUse_ = true;
    return true;
}

} // namespace tavrin

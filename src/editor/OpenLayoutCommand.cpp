// Opening a layout file into the editing screen, and offering the conversion of an opened
// legacy layout to a package.
#include "editor/Editor.h"

#include "editor/ColourPalette.h"
#include "fonts/CarriedFontFiles.h"
#include "fonts/MissingFontInstallation.h"
#include "layout/PathText.h"
#include "layout/StripOperations.h"
#include "render/BoardGeometry.h"

#include <QDateTime>

namespace tavrin {

namespace {

const QString kOpenTitle = QStringLiteral("Open MarbixLayout File");
// The one filter of the open dialog: its display text, then the patterns Qt reads.
const QString kOpenFilter =
    QStringLiteral("MarbixLayout File*.XMARBIX;*.MARBIX;*_TV.jpg;*_BGND.jpg (*.XMARBIX *.MARBIX *_TV.jpg *_BGND.jpg)");

const QString kIdleLabel = QStringLiteral("EDIT MODE:  IDLE");

} // namespace

void Editor::SetIdleEditingControls()
{
    for (ControlId box : {ControlId::MainItemBox, ControlId::SubItemsBox, ControlId::PricesBox})
        controls_.setText(box, QString());
    controls_.setFocus(ControlId::MainItemBox);
    for (ControlId id : {ControlId::MoveTextGroup, ControlId::SizeTextGroup, ControlId::LoadNewPicture,
                         ControlId::MoveUp, ControlId::MoveLeft, ControlId::MoveRight, ControlId::MoveDown,
                         ControlId::SizeLarger, ControlId::SizeSmaller, ControlId::SizeAndMoveIncrementGroup,
                         ControlId::Micro, ControlId::Macro})
        controls_.setEnabled(id, false);
    controls_.setChecked(ControlId::Micro, false);
    controls_.setChecked(ControlId::Macro, false);
}

void Editor::OpenLayoutCommand(const QString &path)
{
    editMode_ = EditMode::Idle;
    ShowNothingSelected();
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    ClearAllGeometry(geometry_);

    // An open that does not go through leaves the open layout as it was, its white-print format
    // too, and the board is laid out again.
    const bool wasWhitePrint = whitePrintChecked();
    renderer_.eraseOnce = true;
    if (!PromptSaveOnClose()) {
        if (wasWhitePrint != whitePrintChecked())
            setWhitePrint(wasWhitePrint);
        WindowResized();
        return;
    }
    const QString startFolder = document_.names().pickedFolder.isEmpty() ? paths_.programFolder
                                                                         : document_.names().pickedFolder;
    const QString picked = !path.isEmpty() ? path : prompter_->askOpenFileName(kOpenTitle, startFolder, kOpenFilter);
    if (picked.isEmpty() || !OpenLayoutFile(picked)) {
        if (wasWhitePrint != whitePrintChecked())
            setWhitePrint(wasWhitePrint);
        WindowResized();
    }
}

bool Editor::OpenLayoutFile(const QString &path)
{
    OpenOptions options;
    options.provideMissingFonts = provideMissingFonts
                                      ? provideMissingFonts
                                      : [this](QString &missing, const QString &workingFolder, const QString &background) {
                                            return OfferOpeningFonts(missing, CurrentCarriedFaces(), workingFolder,
                                                                     background, *prompter_);
                                        };
    const DocumentResult opened = document_.open(path, options);
    if (!opened) {
        if (!opened.message.isEmpty())
            prompter_->showMessage(opened.message);
        return false;
    }
    return true;
}

void Editor::ShowOpenedBoard()
{
    // A legacy layout is offered for conversion at the next paint.
    migrationPending_ = document_.hasBoard() && !document_.fromPackage();
    renderer_.backgroundReadingPending = true;
    editMode_ = EditMode::Idle;
    selectedGroup_ = -1;
    lastTextEditedGroup_ = -1;
    StartNewAction();
    paths_.currentFolder = document_.names().layoutFolder;
    setWhitePrint(document_.whitePrint());
    ShowTitle();
    ClearAllGeometry(geometry_);
    EnableHistoryButtons();
    SetBoardReadyState();
    ResetStrip(workingStrip_);
    for (TextGroup &group : workingStrip_.Groups)
        group.TextColor = PaletteColour(paletteEntry_);
    // Only now is the number of columns known: one column has no vertical grid to show.
    controls_.setEnabled(ControlId::DisplayVerticalGrid, layout().NumberOfColumns > 1);
    MakeProxiesForLoadedBoard();
    SetIdleEditingControls();

    // From here on the board follows the window.
    renderer_.eraseOnce = true;
    LayOutPreview(true);
    for (ControlId id : {ControlId::LineSpacingUp, ControlId::LineSpacingDown, ControlId::LineSpacingLabel})
        controls_.setEnabled(id, false);
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    ignoreClicksBefore_ = QDateTime::currentMSecsSinceEpoch();
}

void Editor::RunPendingMigration()
{
    if (!migrationPending_)
        return;
    // Cleared first: the question comes once per opened legacy layout, whatever the answer.
    migrationPending_ = false;
    MigrateLegacyLayout();
}

bool Editor::MigrateLegacyLayout()
{
    const QString package = document_.convertedPackagePath();
    if (package.isEmpty())
        return false;
    const QString oldDocument = document_.names().pickedFolder + document_.names().legacyDocumentName;
    const QString question =
        QStringLiteral("We are transitioning to a simpler file system.\r\n\rThe layout file\r\n        %1\r\n"
                       "        and its support folder\r\n\r\nare being replaced with a single file\r\n"
                       "        %2.\r\n\r\nDo you wish to replace them (recommended)?\r\n\r\n\r\n"
                       "If assistance is needed regarding this, call\r\nTessal Design Tech Support.")
            .arg(FileNamePart(oldDocument), FileNamePart(package));
    if (prompter_->askYesNo(question) != Answer::Yes)
        return false;
    const DocumentResult converted = document_.convertLegacy();
    if (!converted) {
        // Nothing of the legacy files went, and the layout stays a legacy layout.
        prompter_->showMessage(converted.message);
        return false;
    }
    for (const QString &notice : converted.notices)
        prompter_->showMessage(notice);
    return true;
}

} // namespace tavrin

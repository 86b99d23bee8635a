// Opening a layout file into the editor, and converting an opened legacy layout to a package.
#include "editor/Editor.h"

#include "editor/ColourPalette.h"
#include "editor/MessageTexts.h"
#include "editor/StripPlacement.h"
#include "editor/WindowTitle.h"
#include "fonts/MissingFontInstallation.h"
#include "fonts/OpeningFontCheck.h"
#include "layout/LayoutDocumentFile.h"
#include "layout/LayoutPackage.h"
#include "layout/PathText.h"
#include "layout/StripOperations.h"
#include "platform/FolderCleanup.h"
#include "render/BoardGeometry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void Editor::OpenLayoutCommand()
{
    editMode = EditMode::Idle;
    ShowNothingSelected();
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    migrationPending = false;
    ClearAllGeometry(geometry);

    renderer.eraseOnce = true;
    if (!PromptSaveOnClose())
        return;
    renderer.resolutionTextPending = true;

    const QString startFolder = pickedFolder.isEmpty() ? paths.programFolder : pickedFolder;
    const QString picked = prompter_->askOpenFileName(kOpenTitle, startFolder, kOpenFilter);
    if (picked.isEmpty())
        return;

    // A TV image opens the package saved beside it.
    const QString mapped = MapTvImageToPackage(picked);
    if (mapped != picked && !QFileInfo::exists(mapped)) {
        prompter_->showMessage(UnableToOpenFileMessage(mapped));
        return;
    }

    const LayoutFileNames names = NamesForPickedFile(mapped, paths.workingFolder);
    pickedFolder = names.pickedFolder;
    fromPackage = names.isPackage;
    if (fromPackage) {
        EmptyFolder(paths.workingFolder);
        UnpackLayoutPackage(mapped, paths.workingFolder);
    }

    layoutName = names.layoutName;
    legacyDocumentName = names.legacyDocumentName;
    baseName = names.baseName;
    SetTitle(fromPackage ? layoutName : legacyDocumentName);

    ClearAllGeometry(geometry);
    undoList.clear();
    SetBoardReadyState();
    layoutFolder = names.layoutFolder;
    paths.currentFolder = layoutFolder;

    const std::optional<QString> document = ReadLayoutDocumentFile(names.documentPath);
    // A grid larger than the store is refused: the next save would drop the strips beyond it.
    if (!document || !DocumentGridFitsStore(*document)) {
        prompter_->showMessage(UnableToOpenFileMessage(names.documentPath));
        return;
    }

    ResetStrip(workingStrip);
    ResetAllStrips(layout, workingStrip, PaletteColour(paletteEntry));
    missingFontsList.clear();
    OpeningFontCheck fontCheck(paths.workingFolder);
    LayoutPathResolver resolver(names, paths.workingFolder);
    resolver.fontCheck = [&fontCheck](const QString &font, const QString &text) { fontCheck.check(font, text); };
    ReadLayoutDocument(*document, layout, resolver);
    // Only now is the number of columns known: one column has no vertical grid to show.
    controls_.setEnabled(ControlId::DisplayVerticalGrid, layout.NumberOfColumns > 1);
    setWhitePrint(layout.WhitePrintBackground);
    backgroundName = resolver.background().backgroundName;
    layoutBackgroundPath = resolver.background().layoutBackgroundPath;
    backgroundImagePath = resolver.background().backgroundImagePath;
    missingFontsList = fontCheck.missingFonts;

    if (!missingFontsList.isEmpty()
        && InstallMissingFonts(missingFontsList, paths.workingFolder, backgroundImagePath, *prompter_)
            != FontInstallationOutcome::AllInstalled) {
        // The strips stay in memory, but without a background nothing is drawn.
        backgroundName.clear();
        Refresh({true, false});
        return;
    }

    if (!fromPackage)
        fontGathering = true;
    MakeProxiesForLoadedBoard();

    Refresh({true, true});
    RebuildGrid(layout, renderer.preview(), geometry);
    Refresh({true, false});

    migrationPending = !fromPackage;
    SetIdleEditingControls();

    SweepEmptyStrips(layout, geometry);
    Refresh({true, false});
    NormaliseOpenedStrips(layout, geometry);

    Refresh();
    for (ControlId id : {ControlId::LineSpacingUp, ControlId::LineSpacingDown, ControlId::LineSpacingLabel})
        controls_.setEnabled(id, false);
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    ignoreClicksBefore = QDateTime::currentMSecsSinceEpoch();
}

void Editor::RunPendingMigration()
{
    if (!migrationPending)
        return;
    // Cleared first: the question comes once per opened legacy layout, whatever the answer.
    migrationPending = false;
    MigrateLegacyLayout();
    fontGathering = false;
}

bool Editor::MigrateLegacyLayout()
{
    const QString oldDocument = pickedFolder + legacyDocumentName;
    QString package = oldDocument;
    package.remove(QLatin1String("MarbixLayout_"));
    package.replace(QLatin1String(".XMARBIX"), QLatin1String("_LAYOUT.MARBIX"));

    // A document whose name gives no new name would be written over and then deleted: the
    // conversion is refused for it.
    if (QString::compare(QFileInfo(package).absoluteFilePath(), QFileInfo(oldDocument).absoluteFilePath(),
                         Qt::CaseInsensitive)
        == 0)
        return false;

    const QString question =
        QStringLiteral("We are transitioning to a simpler file system.\r\n\rThe layout file\r\n        %1\r\n"
                       "        and its support folder\r\n\r\nare being replaced with a single file\r\n"
                       "        %2.\r\n\r\nDo you wish to replace them (recommended)?\r\n\r\n\r\n"
                       "If assistance is needed regarding this, call\r\nTessal Design Tech Support.")
            .arg(FileNamePart(oldDocument), FileNamePart(package));
    if (prompter_->askYesNo(question) != Answer::Yes)
        return false;

    if (!WriteLayoutPackage(package, {layout, false, backgroundImagePath, fontList, paths.workingFolder}, *prompter_)) {
        // Nothing was written: the legacy files stay, and the layout stays a legacy layout.
        prompter_->showMessage(kSaveFailureText);
        return false;
    }

    const QString supportFolder = layoutBackgroundPath.left(LastSeparatorIndex(layoutBackgroundPath));
    if (!supportFolder.isEmpty()) {
        EmptyFolder(supportFolder);
        QDir().rmdir(supportFolder);
    }
    QFile::remove(oldDocument);

    SetTitle(FileNamePart(package));

    fromPackage = true;
    EmptyFolder(paths.workingFolder);
    UnpackLayoutPackage(package, paths.workingFolder);
    backgroundName = package;
    layoutName.replace(QLatin1String(".jpg"), QLatin1String(".MARBIX"));
    backgroundImagePath = paths.workingFolder + QStringLiteral("/Background.jpg");
    layout.forEachBoardStrip([&](int, int, Strip &strip) {
        QString &picture = strip.Picture.SubImageFileName;
        if (!picture.isEmpty())
            picture = paths.workingFolder + QLatin1Char('/') + FileNamePart(picture);
    });
    // The old proxies went with the support folder.
    MakeProxiesForLoadedBoard();
    return true;
}

} // namespace tavrin

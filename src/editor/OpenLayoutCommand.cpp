// Opening a layout file into the editor, and converting an opened legacy layout to a package.
#include "editor/Editor.h"

#include "editor/ColourPalette.h"
#include "document/MessageTexts.h"
#include "editor/OpeningAhead.h"
#include "document/StripPlacement.h"
#include "editor/WindowTitle.h"
#include "fonts/CarriedFontFiles.h"
#include "fonts/MissingFontInstallation.h"
#include "fonts/OpeningFontCheck.h"
#include "images/ImageDecoding.h"
#include "images/Proxies.h"
#include "layout/LayoutDocumentFile.h"
#include "layout/LayoutFileOpening.h"
#include "layout/LayoutPackage.h"
#include "layout/PathText.h"
#include "layout/StripOperations.h"
#include "platform/DataFolders.h"
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

QString Editor::OpeningFolderParent() const
{
    return !paths.dataFolder.isEmpty()    ? paths.dataFolder
           : paths.workingFolder.isEmpty() ? QString()
                                           : QFileInfo(paths.workingFolder).absolutePath();
}

QString Editor::MakeOpeningFolder() const { return MakeFreshWorkingFolder(OpeningFolderParent()); }

void Editor::SwitchWorkingFolder(const QString &fresh)
{
    const QString old = paths.workingFolder;
    paths.workingFolder = fresh;
    if (old != fresh)
        RemoveOwnFolder(old);
}

void Editor::OpenLayoutCommand()
{
    editMode = EditMode::Idle;
    ShowNothingSelected();
    controls_.setText(ControlId::ModeLabel, kIdleLabel);
    migrationPending = false;
    ClearAllGeometry(geometry);

    // An open that does not go through leaves the open layout as it was: its modified flag and
    // its white-print format come back, and the board is laid out again.
    const bool wasModified = modified;
    const bool wasWhitePrint = whitePrintChecked();
    auto keepOpenLayout = [&] {
        modified = wasModified;
        if (wasWhitePrint != whitePrintChecked())
            setWhitePrint(wasWhitePrint);
        WindowResized();
    };

    renderer.eraseOnce = true;
    if (!PromptSaveOnClose()) {
        keepOpenLayout();
        return;
    }
    renderer.resolutionTextPending = true;

    const QString startFolder = pickedFolder.isEmpty() ? paths.programFolder : pickedFolder;
    const QString picked = prompter_->askOpenFileName(kOpenTitle, startFolder, kOpenFilter);
    if (picked.isEmpty()) {
        keepOpenLayout();
        return;
    }

    // The picked file is unpacked and read in a folder of its own; the open layout and its
    // working folder are not touched until that has worked.
    const QString parent = OpeningFolderParent();
    std::optional<PreparedOpening> prepared = TakeOpeningPreparedAhead(picked, parent);
    if (!prepared)
        prepared = PrepareOpening(picked, parent);
    if (!prepared->failure.isEmpty()) {
        RemoveOwnFolder(prepared->folder);
        prompter_->showMessage(prepared->failure);
        keepOpenLayout();
        return;
    }
    SwitchWorkingFolder(prepared->folder);
    const LayoutFileContents &contents = prepared->contents;

    const LayoutFileNames &names = contents.names;
    pickedFolder = names.pickedFolder;
    fromPackage = names.isPackage;
    layoutName = names.layoutName;
    legacyDocumentName = names.legacyDocumentName;
    baseName = names.baseName;
    SetTitle(fromPackage ? layoutName : legacyDocumentName);

    ClearAllGeometry(geometry);
    undoList.clear();
    redoList.clear();
    EnableHistoryButtons();
    SetBoardReadyState();
    layoutFolder = names.layoutFolder;
    paths.currentFolder = layoutFolder;

    ResetStrip(workingStrip);
    ResetAllStrips(layout, workingStrip, PaletteColour(paletteEntry));
    missingFontsList.clear();
    // The package's font files draw this board for this process, whatever is installed.
    RegisterCarriedFonts(paths.workingFolder);
    OpeningFontCheck fontCheck(paths.workingFolder);
    LayoutPathResolver resolver(names, paths.workingFolder);
    resolver.fontCheck = [&fontCheck](const QString &font, const QString &text) { fontCheck.check(font, text); };
    ReadLayoutDocument(contents.documentText, layout, resolver);
    // Only now is the number of columns known: one column has no vertical grid to show.
    controls_.setEnabled(ControlId::DisplayVerticalGrid, layout.NumberOfColumns > 1);
    setWhitePrint(layout.WhitePrintBackground);
    backgroundName = resolver.background().backgroundName;
    layoutBackgroundPath = resolver.background().layoutBackgroundPath;
    backgroundImagePath = resolver.background().backgroundImagePath;
    missingFontsList = fontCheck.missingFonts;

    const bool fontsReady =
        provideMissingFonts ? missingFontsList.isEmpty() || provideMissingFonts(missingFontsList)
                            : OfferOpeningFonts(missingFontsList, CurrentCarriedFaces(), paths.workingFolder,
                                                backgroundImagePath, *prompter_);
    if (!fontsReady) {
        // The strips stay in memory, but without a background nothing is drawn.
        backgroundName.clear();
        Refresh({true, false});
        return;
    }

    if (outputFollowsOpen) {
        QStringList pictures;
        layout.forEachBoardStrip([&](int, int, const Strip &strip) {
            if (!strip.Picture.SubImageFileName.isEmpty())
                pictures << strip.Picture.SubImageFileName;
        });
        DecodeImageFileAhead(backgroundImagePath, pictures);
    }
    if (!fromPackage)
        fontGathering = true;
    MakeProxiesForLoadedBoard();

    // The pass over the opened strips measures their texts at the board's own resolution, so
    // that what a save writes afterwards does not depend on the size of the window.
    HandStateToRenderer();
    renderer.layOutAtBoardScale();

    migrationPending = !fromPackage;
    SetIdleEditingControls();

    // A sweep that changed no text leaves the texts where they were measured.
    bool lineBreakOnly = false;
    layout.forEachBoardStrip([&](int, int, const Strip &strip) {
        for (const TextGroup &group : strip.Groups)
            lineBreakOnly = lineBreakOnly || group.Text == QLatin1String("\r\n");
    });
    if (SweepEmptyStrips(layout, geometry) > 0 || lineBreakOnly)
        renderer.layOutAtBoardScale();
    NormaliseOpenedStrips(layout, geometry);

    // From here on the board follows the window.
    LayOutPreview(true);
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

namespace {

// Whether a file the package was built from came back out of it as large as it was.
bool CameBack(const QString &source, const QString &unpackedCopy)
{
    const QFileInfo original(source);
    if (!original.isFile())
        return true; // missing before the conversion: the package could not carry it
    const QFileInfo copy(unpackedCopy);
    return copy.isFile() && copy.size() == original.size();
}

// The background comes back as "Background.jpg", every picture under its own file name.
bool PackageHoldsEveryFile(const QStringList &sources, const QString &unpackedFolder)
{
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString copy = unpackedFolder + u'/' + (i == 0 ? QStringLiteral("Background.jpg") : FileNamePart(sources[i]));
        if (!CameBack(sources[i], copy))
            return false;
    }
    return true;
}

} // namespace

bool Editor::MigrateLegacyLayout()
{
    const QString oldDocument = pickedFolder + legacyDocumentName;
    // A document whose name gives no package name of its own (no ".XMARBIX" extension in any
    // case: a package with a lower-case extension read as a document) is never converted.
    const QString packageName = ConvertedPackageName(legacyDocumentName);
    if (packageName.isEmpty())
        return false;
    const QString package = pickedFolder + packageName;
    if (QString::compare(QFileInfo(package).absoluteFilePath(), QFileInfo(oldDocument).absoluteFilePath(),
                         Qt::CaseInsensitive)
        == 0)
        return false;
    // A file of the new name is the user's own (an earlier conversion, a package saved there):
    // the conversion never replaces it.
    if (QFileInfo(package).exists() || QFileInfo(package).isSymLink())
        return false;

    const QString question =
        QStringLiteral("We are transitioning to a simpler file system.\r\n\rThe layout file\r\n        %1\r\n"
                       "        and its support folder\r\n\r\nare being replaced with a single file\r\n"
                       "        %2.\r\n\r\nDo you wish to replace them (recommended)?\r\n\r\n\r\n"
                       "If assistance is needed regarding this, call\r\nTessal Design Tech Support.")
            .arg(FileNamePart(oldDocument), packageName);
    if (prompter_->askYesNo(question) != Answer::Yes)
        return false;

    // The files the package is built from, as the strips and the background name them now; the
    // background first.
    QStringList sources{backgroundImagePath};
    layout.forEachBoardStrip([&](int, int, const Strip &strip) {
        if (!strip.Picture.SubImageFileName.isEmpty())
            sources << strip.Picture.SubImageFileName;
    });

    if (!PutLayoutPackageInPlace(package, {layout, false, backgroundImagePath, fontList, paths.workingFolder})) {
        // Nothing was written: the legacy files stay, and the layout stays a legacy layout.
        prompter_->showMessage(kSaveFailureText);
        return false;
    }

    // The package is read back before anything of the old layout goes: it must open, and it
    // must hold every file it was built from.
    const QString fresh = MakeOpeningFolder();
    LayoutFileContents contents;
    if (fresh.isEmpty() || !LoadLayoutFileContents(package, fresh, contents).isEmpty()
        || !PackageHoldsEveryFile(sources, fresh)) {
        RemoveOwnFolder(fresh);
        QFile::remove(package); // made just now, where no file was
        prompter_->showMessage(kSaveFailureText);
        return false;
    }

    // Only the layout's own support folder, directly inside the layout folder, is cleared, and
    // only of the plain files that went into the package (with the proxies made for them);
    // subfolders and anything else the user keeps there stay, and so does the folder then.
    const QString supportFolder = layoutFolder + u'/' + baseName + QStringLiteral("_SupportFiles");
    QStringList supportFiles;
    for (const QString &source : sources) {
        if (WithoutTrailingSeparators(source.left(LastSeparatorIndex(source) + 1)) != supportFolder)
            continue;
        supportFiles << FileNamePart(source);
        const QString proxy = PictureProxyPath(source);
        if (!proxy.isEmpty())
            supportFiles << FileNamePart(proxy) << FileNamePart(proxy).replace(QLatin1String("_Proxy"),
                                                                                QLatin1String("_PROXY"));
    }
    RemoveOldNamePackage(package, *prompter_);
    RemovePlainFilesIn(supportFolder, supportFiles);
    if (QFileInfo(oldDocument).isFile() && !QFileInfo(oldDocument).isSymLink())
        QFile::remove(oldDocument);

    SetTitle(packageName);

    // The open layout is now the package, its files in the folder it was read back into.
    fromPackage = true;
    SwitchWorkingFolder(fresh);
    backgroundName = package;
    layoutName = packageName.chopped(int(QStringLiteral("_LAYOUT.MARBIX").size())) + QStringLiteral(".MARBIX");
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

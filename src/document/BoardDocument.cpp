// The board document: opening a layout file, a new board, and the one door for changes with its
// history. Saving and the legacy conversion are in files of their own.
#include "document/BoardDocument.h"

#include "document/MessageTexts.h"
#include "document/OpeningAhead.h"
#include "document/StripPlacement.h"
#include "fonts/CarriedFontFiles.h"
#include "fonts/FontInventory.h"
#include "fonts/OpeningFontCheck.h"
#include "images/ImageDecoding.h"
#include "images/Proxies.h"
#include "layout/LayoutDocumentFile.h"
#include "layout/LayoutPathRules.h"
#include "layout/PathText.h"
#include "layout/StripOperations.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"
#include "platform/RegularFileReading.h"
#include "platform/SafeFile.h"

#include <QDateTime>
#include <QFileInfo>

namespace tavrin {

namespace {

// A board straight from the store's defaults.
void ResetBoard(MenuLayout &layout)
{
    Strip unused;
    GeometryRecords geometry;
    InitialiseNewEditorLayout(layout, unused, geometry, kWhite);
}

QString BackgroundNotCopiedMessage(const QString &chosen)
{
    return QStringLiteral("The background %1 could not be copied into the layout's working folder (the file cannot "
                          "be read, or the disk is full).\n\nThe board keeps its background.")
        .arg(FileNamePart(chosen));
}

// Replaces target with a copy of source; the old target stays whole when the copy fails. Only a
// regular file is copied: a pipe or a device chosen as the background would block or never end.
bool CopyFileReplacing(const QString &source, const QString &target)
{
    const std::optional<QByteArray> bytes = ReadRegularFile(source, kMaxImageFileBytes);
    return bytes && WriteFileReplacing(target, *bytes);
}

} // namespace

BoardDocument::BoardDocument(const QString &dataFolder)
    : dataFolder_(dataFolder), layout_(std::make_unique<MenuLayout>()),
      outputGeometry_(std::make_unique<GeometryRecords>()),
      outputRenderer_(std::make_unique<BoardRenderer>(*layout_, *outputGeometry_))
{
    ResetBoard(*layout_);
    outputRenderer_->fontList = &fontList_;
    outputRenderer_->substitutions = &substitutions_;
    history_.reset(*layout_, files_);
}

BoardDocument::~BoardDocument() { RemoveOwnFolder(workingFolder_); }

void BoardDocument::adoptWorkingFolder(const QString &folder) { switchWorkingFolder(folder); }

void BoardDocument::switchWorkingFolder(const QString &fresh)
{
    const QString old = workingFolder_;
    workingFolder_ = fresh;
    if (!old.isEmpty() && old != fresh)
        RemoveOwnFolder(old);
}

qint64 BoardDocument::now() const { return clock ? clock() : QDateTime::currentMSecsSinceEpoch(); }

DocumentResult BoardDocument::open(const QString &pickedPath, const OpenOptions &options)
{
    // The picked file is unpacked and read in a folder of its own; the open board and its
    // working folder are not touched until all of it has worked.
    const QString parent = !dataFolder_.isEmpty() ? dataFolder_ : QFileInfo(workingFolder_).absolutePath();
    std::optional<PreparedOpening> prepared = TakeOpeningPreparedAhead(pickedPath, parent);
    if (!prepared)
        prepared = PrepareOpening(pickedPath, parent);
    if (!prepared->failure.isEmpty()) {
        RemoveOwnFolder(prepared->folder);
        return DocumentResult::failure(prepared->folder.isEmpty() ? DocumentError::NoWorkingFolder
                                                                  : DocumentError::CannotRead,
                                       prepared->failure, pickedPath);
    }
    const QString folder = prepared->folder;
    const LayoutFileNames &names = prepared->contents.names;

    auto fresh = std::make_unique<MenuLayout>();
    ResetBoard(*fresh);
    // The package's font files draw this board for this process, whatever is installed.
    RegisterCarriedFonts(folder);
    OpeningFontCheck fontCheck(folder);
    LayoutPathResolver resolver(names, folder);
    resolver.fontCheck = [&fontCheck](const QString &font, const QString &text) { fontCheck.check(font, text); };
    ReadLayoutDocument(prepared->contents.documentText, *fresh, resolver);
    BoardFiles files;
    files.backgroundName = resolver.background().backgroundName;
    files.layoutBackgroundPath = resolver.background().layoutBackgroundPath;
    files.backgroundImagePath = resolver.background().backgroundImagePath;

    QString missing = fontCheck.missingFonts;
    // Asked also when nothing is missing: the front end may offer the package's other faces.
    if (options.provideMissingFonts && !options.provideMissingFonts(missing, folder, files.backgroundImagePath)) {
        RemoveOwnFolder(folder);
        return DocumentResult::failure(DocumentError::FontsDeclined, {}, pickedPath);
    }

    if (options.outputFollows) {
        QStringList pictures;
        fresh->forEachBoardStrip([&](int, int, const Strip &strip) {
            if (!strip.Picture.SubImageFileName.isEmpty())
                pictures << strip.Picture.SubImageFileName;
        });
        DecodeImageFileAhead(files.backgroundImagePath, pictures);
    }

    // The pass over the opened strips measures their texts at the board's own resolution, so
    // that what a save writes afterwards does not depend on any window.
    FontList gathered;
    FontSubstitutions substitutions;
    GeometryRecords geometry;
    BoardRenderer pass(*fresh, geometry);
    pass.fontList = &gathered;
    pass.substitutions = &substitutions;
    pass.sources.backgroundName = files.backgroundName;
    pass.sources.backgroundImagePath = files.backgroundImagePath;
    pass.sources.workingFolder = folder;
    pass.options.whitePrint = fresh->WhitePrintBackground;
    // A legacy layout's fonts are not in a package yet: they are gathered while it is drawn.
    pass.options.fontGathering = !names.isPackage;
    pass.layOutAtBoardScale();
    // A sweep that changed no text leaves the texts where they were measured.
    bool lineBreakOnly = false;
    fresh->forEachBoardStrip([&](int, int, const Strip &strip) {
        for (const TextGroup &group : strip.Groups)
            lineBreakOnly = lineBreakOnly || group.Text == QLatin1String("\r\n");
    });
    if (SweepEmptyStrips(*fresh, geometry) > 0 || lineBreakOnly)
        pass.layOutAtBoardScale();
    NormaliseOpenedStrips(*fresh, geometry);

    // Only now does the open board go.
    switchWorkingFolder(folder);
    *layout_ = std::move(*fresh);
    files_ = files;
    names_ = names;
    fontList_ = gathered;
    substitutions_ = substitutions;
    missingFontsList_ = missing;
    fontGathering_ = !names.isPackage;
    history_.reset(*layout_, files_);
    notify({{}, false, true});
    return {};
}

DocumentResult BoardDocument::newBoard(const QString &backgroundPath, int columns, int rows)
{
    if (columns < 1 || columns > kMaxColumns || rows < 1 || rows > kMaxRows)
        return DocumentResult::failure(DocumentError::OutOfRange,
                                       QStringLiteral("A board has 1 to %1 columns and 1 to %2 rows.")
                                           .arg(kMaxColumns)
                                           .arg(kMaxRows));
    auto board = std::make_unique<MenuLayout>();
    ResetBoard(*board);
    board->NumberOfColumns = columns;
    board->NumberOfRows = rows;
    return newBoardFrom(*board, backgroundPath);
}

DocumentResult BoardDocument::newBoardFrom(const MenuLayout &board, const QString &backgroundPath)
{
    // The open board stays as it is until the new one's background is safely in its own folder.
    const QString fresh = MakeFreshWorkingFolder(!dataFolder_.isEmpty() ? dataFolder_
                                                                        : QFileInfo(workingFolder_).absolutePath());
    if (fresh.isEmpty())
        return DocumentResult::failure(DocumentError::NoWorkingFolder,
                                       QStringLiteral("No working folder could be made in ") + dataFolder_, dataFolder_);
    if (!CopyFileReplacing(backgroundPath, BackgroundCopyPath(fresh))) {
        RemoveOwnFolder(fresh);
        return DocumentResult::failure(DocumentError::BadBackground, BackgroundNotCopiedMessage(backgroundPath),
                                       backgroundPath);
    }
    switchWorkingFolder(fresh);
    *layout_ = board;
    layout_->WhitePrintBackground = false;
    fontList_ = FontList{};
    substitutions_ = FontSubstitutions{};
    missingFontsList_.clear();
    fontGathering_ = false;

    // A new board is saved as a package, named by the user at its first save.
    LayoutFileNames names;
    names.isPackage = true;
    names.layoutName = kUntitledLayoutName;
    names.baseName = QStringLiteral("Untitled");
    names.layoutFolder = backgroundPath.left(qMax<qsizetype>(0, LastSeparatorIndex(backgroundPath)));
    names.pickedFolder = names.layoutFolder + QLatin1Char('/');
    names_ = names;
    files_ = {backgroundPath, backgroundPath, backgroundPath};
    history_.reset(*layout_, files_);
    notify({{}, false, true});
    return {};
}

DocumentResult BoardDocument::loadBackground(const QString &chosen)
{
    if (!hasBoard() && workingFolder_.isEmpty())
        return DocumentResult::failure(DocumentError::NoWorkingFolder, {}, chosen);
    // The package takes the background from its copy in the working folder and the TV image
    // from the chosen file: when the copy cannot be made, the two would disagree. The board
    // keeps its old background.
    if (!CopyFileReplacing(chosen, BackgroundCopyPath(workingFolder_)))
        return DocumentResult::failure(DocumentError::BadBackground, BackgroundNotCopiedMessage(chosen), chosen);
    apply({QStringLiteral("Load Background")}, [&](BoardEdit &board) {
        board.files.backgroundName = chosen;
        board.files.backgroundImagePath = chosen;
    });
    names_.layoutFolder = chosen.left(qMax<qsizetype>(0, LastSeparatorIndex(chosen)));
    return {};
}

bool BoardDocument::apply(const ChangeInfo &info, const std::function<void(BoardEdit &)> &edit)
{
    BoardEdit board{*layout_, files_};
    if (changeDepth_ > 0) {
        edit(board);
        return true;
    }
    ++changeDepth_;
    edit(board);
    --changeDepth_;
    const std::optional<HistoryMove> move = history_.record(*layout_, files_, info, now());
    if (!move)
        return false;
    notify({*move, false});
    return true;
}

std::optional<HistoryMove> BoardDocument::undo()
{
    std::optional<HistoryMove> move = history_.undo(*layout_, files_);
    if (move)
        notify({*move, true});
    return move;
}

std::optional<HistoryMove> BoardDocument::redo()
{
    std::optional<HistoryMove> move = history_.redo(*layout_, files_);
    if (move)
        notify({*move, true});
    return move;
}

int BoardDocument::addListener(std::function<void(const BoardChanged &)> listener)
{
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void BoardDocument::removeListener(int id)
{
    std::erase_if(listeners_, [id](const auto &entry) { return entry.first == id; });
}

void BoardDocument::notify(const BoardChanged &change)
{
    // A copy: a listener may add or remove listeners.
    const auto listeners = listeners_;
    for (const auto &entry : listeners)
        entry.second(change);
}

QSize BoardDocument::boardSize() const
{
    if (!hasBoard())
        return {};
    return ImagePixelSize(files_.backgroundImagePath).value_or(QSize());
}

} // namespace tavrin

// Writing the board: the package and TV image side by side, the TV image alone, and the output
// render both draw.
#include "document/BoardDocument.h"

#include "document/MessageTexts.h"
#include "document/SaveOutput.h"
#include "images/TvImageOutput.h"
#include "layout/PathText.h"
#include "render/BoardGeometry.h"

#include <QFileInfo>

namespace tavrin {

namespace {

DocumentError ErrorFor(WriteFailureKind kind)
{
    switch (kind) {
    case WriteFailureKind::NoSuchFolder:
    case WriteFailureKind::NotAFolder:
        return DocumentError::NoSuchFolder;
    case WriteFailureKind::FolderInTheWay:
        return DocumentError::FolderInTheWay;
    case WriteFailureKind::ReadOnlyFile:
    case WriteFailureKind::ReadOnlyFolder:
        return DocumentError::ReadOnly;
    case WriteFailureKind::DiskFull:
        return DocumentError::DiskFull;
    case WriteFailureKind::Other:
        break;
    }
    return DocumentError::WriteFailed;
}

// The save's own failure text, then which file and why.
DocumentResult SaveFailure(DocumentError error, const QString &file, const QString &why)
{
    return DocumentResult::failure(error,
                                   kSaveFailureText + QStringLiteral("\n\n%1 was not written: %2.")
                                                          .arg(FileNamePart(file), why),
                                   file);
}

} // namespace

QString ReasonText(DocumentError error)
{
    switch (error) {
    case DocumentError::None:
        return {};
    case DocumentError::NoBoard:
        return QStringLiteral("no board is open");
    case DocumentError::CannotRead:
        return QStringLiteral("the file cannot be read as a layout");
    case DocumentError::NoWorkingFolder:
        return QStringLiteral("no working folder could be made");
    case DocumentError::FontsDeclined:
        return QStringLiteral("the fonts the layout needs are not there");
    case DocumentError::WouldReplace:
        return QStringLiteral("a file of that name is there already");
    case DocumentError::ReadOnly:
        return QStringLiteral("read-only");
    case DocumentError::FolderInTheWay:
        return QStringLiteral("a folder is in the way");
    case DocumentError::NoSuchFolder:
        return QStringLiteral("no such folder");
    case DocumentError::DiskFull:
        return QStringLiteral("the disk is full");
    case DocumentError::WriteFailed:
        return QStringLiteral("the file could not be written");
    case DocumentError::BadBackground:
        return QStringLiteral("the background cannot be read");
    case DocumentError::OutOfRange:
        return QStringLiteral("the grid size is out of range");
    case DocumentError::NotConvertible:
        return QStringLiteral("the layout cannot be converted");
    }
    return {};
}

BoardSources BoardDocument::sourcesForOutput() const
{
    BoardSources sources;
    sources.backgroundName = files_.backgroundName;
    sources.backgroundImagePath = files_.backgroundImagePath;
    sources.workingFolder = workingFolder_;
    return sources;
}

QImage BoardDocument::renderForOutput(bool gatherFonts)
{
    outputRenderer_->sources = sourcesForOutput();
    outputRenderer_->options = RenderOptions{};
    outputRenderer_->options.whitePrint = layout_->WhitePrintBackground;
    outputRenderer_->options.fontGathering = fontGathering_;
    // The fonts it draws are the ones the package carries; an image written on its own leaves
    // that list as it was.
    outputRenderer_->fontList = gatherFonts ? &fontList_ : nullptr;
    const QImage board = outputRenderer_->renderForOutput(BoardScaleRegion(), layout_->WhitePrintBackground);
    outputRenderer_->fontList = &fontList_;
    return board;
}

QImage BoardDocument::renderOutput() { return renderForOutput(true); }

void BoardDocument::cleanPriceTexts()
{
    ChangeInfo tidy;
    tidy.label = QStringLiteral("Typing");
    tidy.joinsLastStep = true;
    apply(tidy, [](BoardEdit &board) {
        board.layout.forEachBoardStrip([](int, int, Strip &strip) {
            QString &prices = strip.prices().Text;
            prices.remove(QLatin1Char('~'));
            if (prices.endsWith(QLatin1Char(' ')))
                prices.chop(1);
        });
    });
}

QString BoardDocument::proposedSaveName(bool whitePrint) const
{
    QString layoutName = names_.layoutName;
    if (!names_.isPackage)
        layoutName.replace(QLatin1String(".jpg"), QLatin1String(".MARBIX"));
    return ProposedSaveName(layoutName, whitePrint);
}

DocumentResult BoardDocument::save(const QString &packagePath, const SaveOptions &options)
{
    if (!hasBoard())
        return DocumentResult::failure(DocumentError::NoBoard, kSaveFailureText + QStringLiteral("\n\nNo board is open."));
    const bool white = whitePrint();
    const QString tvImagePath = TvImagePathBeside(packagePath, white);
    const QString packageToWrite = PackagePathToWrite(packagePath);
    if (!options.replaceExisting) {
        for (const QString &target : {packageToWrite, tvImagePath}) {
            const QFileInfo there(target);
            if (there.exists() || there.isSymLink())
                return SaveFailure(DocumentError::WouldReplace, target,
                                   QStringLiteral("%1 is there already and was not replaced").arg(target));
        }
    }

    cleanPriceTexts();
    TvImageJob job;
    job.board = renderForOutput(true);
    job.packagePath = packagePath;
    job.whitePrint = white;
    job.dataFolder = dataFolder_;
    job.backgroundName = files_.backgroundName;
    job.rotation = options.rotation;
    if (job.board.isNull())
        return SaveFailure(DocumentError::BadBackground, tvImagePath,
                           QStringLiteral("the background %1 cannot be drawn").arg(files_.backgroundImagePath));

    const SavedLayoutFiles saved =
        WriteLayoutAndTvImage(job, {*layout_, names_.isPackage, files_.backgroundImagePath, fontList_, workingFolder_});
    if (!saved.ok)
        return SaveFailure(ErrorFor(saved.failure.kind),
                           saved.failure.kind == WriteFailureKind::NoSuchFolder
                                   || saved.failure.kind == WriteFailureKind::NotAFolder || saved.failure.kind == WriteFailureKind::ReadOnlyFolder
                                   || saved.failure.kind == WriteFailureKind::DiskFull
                               ? packageToWrite
                               : saved.failure.path,
                           WriteFailureText(saved.failure));

    // Only a save that wrote both files renames the board and makes its edits safe.
    names_.layoutName = FileNamePart(packagePath);
    names_.baseName = names_.layoutName.left(names_.layoutName.lastIndexOf(QLatin1Char('.')));
    names_.layoutFolder = WithoutTrailingSeparators(packagePath.left(LastSeparatorIndex(packagePath) + 1));
    if (!names_.isPackage)
        names_.legacyDocumentName = names_.layoutName;
    history_.markSaved();
    notify({});
    DocumentResult result;
    result.file = saved.packagePath;
    if (!saved.notice.isEmpty())
        result.notices << saved.notice;
    return result;
}

DocumentResult BoardDocument::exportTvImage(const QString &target, int rotation)
{
    if (!hasBoard())
        return DocumentResult::failure(DocumentError::NoBoard, QStringLiteral("No board is open."));
    // The same steps as the save up to its image: the prices lose their edit marks first.
    cleanPriceTexts();
    QImage board = renderForOutput(false);
    if (board.isNull())
        return DocumentResult::failure(DocumentError::BadBackground,
                                       QStringLiteral("The background %1 cannot be drawn.").arg(files_.backgroundImagePath),
                                       files_.backgroundImagePath);
    if (board.width() < board.height())
        board = RotateForTv(board, rotation);
    if (!SaveTvImage(board, target, TvImageFormatFor(files_.backgroundName))) {
        const WriteFailure failure = DiagnoseWriteFailure(target, errno, 0);
        return DocumentResult::failure(ErrorFor(failure.kind),
                                       QStringLiteral("The TV image %1 was not written: %2.")
                                           .arg(target, WriteFailureText(failure)),
                                       target);
    }
    return {};
}

} // namespace tavrin

#pragma once

#include "layout/LayoutPackage.h"
#include "platform/WriteFailure.h"

#include <QImage>
#include <QString>


namespace tavrin {

// The names, texts and file writing of the save command, shared by the editor and the
// command-line tool.

inline const QString kSaveDialogTitle =
    QStringLiteral("Save .MARBIX Layout File and its associated .JPG Image-for-TV File");
inline const QString kSaveDialogFilter = QStringLiteral("Marbix Layout(*.MARBIX) (*.MARBIX)");

// Shown while a removable drive is written.
inline const QString kPleaseWaitText = QStringLiteral(
    "\n\nATTENTION: DO NOT UNPLUG USB FLASH FLASH DRIVE\n\n"
    "The Marbix layout file and TV file\nare being Saved\n\n"
    "(This may take several seconds)\n\nPLEASE WAIT!\n\n"
    "DO NOT UNPLUG USB FLASH FLASH DRIVE\n until notified that file saving has been confirmed");

// Shown before the print dialog, with OK and Cancel.
inline const QString kPrintInstructionsText = QStringLiteral(
    "Upon entry into the Print Dialog:\n\n1. Clear the 'Fit Picture to Frame' checkbox\n    to avoid menu cropping.\n\n"
    "2. Review menu image to confirm layout.\n\n");

// The please-wait window stays at least this long.
inline constexpr qint64 kPleaseWaitMinimumMilliseconds = 5000;

// The name the save dialog proposes for a layout name ending in ".MARBIX": every
// "_WHITE_PRINT_BGND" and "_LAYOUT" removed, then ".MARBIX" replaced by
// "_LAYOUT_WHITE_PRINT_BGND.MARBIX" (white print) or "_LAYOUT.MARBIX".
QString ProposedSaveName(const QString &layoutName, bool whitePrint);

// The package path for the path the user chose, by the same rules applied to its file-name
// part (the folders are left alone). A name without ".MARBIX" or ".jpg" at its end gets
// ".MARBIX" first, so "Menu2" gives "Menu2_LAYOUT.MARBIX"; a ".jpg" name stays as typed (the
// TV image takes that name and the package the same with ".MARBIX").
QString PackagePathForChosenName(const QString &chosenPath, bool whitePrint);

// The TV image beside the package: its file name with "_LAYOUT_WHITE_PRINT_BGND" and
// "_LAYOUT" dropped and "_TV_WHITE_PRINT_BGND.jpg" or "_TV.jpg" for ".MARBIX".
QString TvImagePathBeside(const QString &packagePath, bool whitePrint);

// Where the package goes: a chosen ".jpg" name gives the same name with ".MARBIX".
QString PackagePathToWrite(const QString &chosenPackagePath);

// "FILE SAVED CONFIRMATION!" with both file names and the folder; a removable drive adds the
// line that it may be unplugged now.
QString SaveConfirmationText(const QString &packageFileName, const QString &tvImageFileName, const QString &folder,
                             bool removable);

// One TV (or print) image to write.
struct TvImageJob {
    QImage board;            // the board at the background's resolution, output rendering on
    QString packagePath;     // the TV image is named after it
    bool whitePrint = false;
    bool printing = false;   // "print.jpg" in the data folder, never turned
    QString dataFolder;      // holds "print.jpg"
    QString backgroundName;  // its extension picks the encoder
    int rotation = 0;        // for a portrait board: 0 none, 1 clockwise, 2 counter-clockwise
};

// Asked before an existing package or TV image of the chosen name is replaced.
inline QString ReplaceQuestionText(const QString &fileName)
{
    return fileName + QStringLiteral(" already exists.\nDo you want to replace it?");
}

// The file the job writes to.
QString TvImageOutputPath(const TvImageJob &job);

// The image file's bytes (turned when the board is portrait and the job says so); empty when
// there is nothing to write.
QByteArray TvImageBytes(const TvImageJob &job);

// Writes the image to its output name. Returns that name, or empty when nothing was written.
QString WriteTvImageFile(const TvImageJob &job);

struct SavedLayoutFiles {
    bool ok = false;
    QString packagePath;    // set when written
    QString tvImagePath;    // set when written
    WriteFailure failure;   // what stopped the save, when not ok
    QString notice;         // for the user after a success (a package of the old name went)
};

// The TV image named after tvImage.packagePath, and the layout package there (a ".jpg" name
// with ".MARBIX"). They come out together or not at all: both are written under temporary
// names beside their final names and moved into place only when both are complete, so a
// failure on either leaves both files of an earlier save as they were, and no temporary file
// stays behind. A read-only file, or a folder, in the way of either name fails the save
// before anything is written; a replaced file keeps its permission bits.
SavedLayoutFiles WriteLayoutAndTvImage(const TvImageJob &tvImage, const PackageSources &sources);

} // namespace tavrin

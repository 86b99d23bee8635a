#pragma once

#include <QString>

namespace tavrin {

// The folder shared by every run of the program: $TAVRIN_DATA_DIR when set (tests set it),
// else the user's data home + "/Tessal Design". It holds the working folders ("ZUP..."),
// "RotationData.txt", "print.jpg" and the instance lock.
QString DataFolderPath();

// Name of this run's working folder inside the data folder: "ZUP" + start time in seconds
// (printed as a signed 32-bit number) + "-" + process id, so two runs never share one.
QString WorkingFolderName(qint64 secondsSinceEpoch, qint64 processId);

// Makes a new, empty folder inside parentFolder for a layout being opened, named "ZUP" + the
// time + process id + a unique ending, so that the start-up clean-up of a later run finds it
// should this run end without removing it. Returns its path, or empty when it cannot be made.
QString MakeFreshWorkingFolder(const QString &parentFolder);

// Folder of the program's own file, ending in "/".
QString ProgramFolderPath();

// Creates the folder (and its parents); a failure is ignored, as callers go on with the path.
void MakeFolder(const QString &path);

} // namespace tavrin

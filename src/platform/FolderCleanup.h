#pragma once

#include "platform/Prompter.h"

#include <QString>
#include <QStringList>

namespace tavrin {

// Removes everything inside folder: plain files, links (the link itself, never what it points
// to) and subfolders with all they hold. A folder path that is itself a symbolic link is not
// entered. Returns the number of entries looked at in folder ("." and ".." not counted).
int EmptyFolder(const QString &folder);

// Removes a folder the program made (a working folder) with everything in it, as EmptyFolder
// does, then the folder itself. A path that is a symbolic link is left alone.
void RemoveOwnFolder(const QString &folder);

// Deletes the named files directly inside folder when they are plain files (links, folders and
// anything named with a separator, "." or ".." are left), then removes folder itself when
// nothing at all is left in it. Used to clear a converted legacy layout's support folder of the
// files that went into its package. Returns the number of files deleted.
int RemovePlainFilesIn(const QString &folder, const QStringList &names);

// Removes the working folders that earlier runs left in the data folder: every real folder
// (not a link) whose name begins with exactly "ZUP", completely. ownWorkingFolder, when given,
// is never touched. Returns the number of folders removed.
int RemoveObsoleteZUPFolders(const QString &dataFolder, Prompter &prompter, const QString &ownWorkingFolder = {});

} // namespace tavrin

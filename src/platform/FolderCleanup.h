#pragma once

#include "platform/Prompter.h"

#include <QString>

namespace tavrin {

// Removes everything inside folder: plain files, links (the link itself, never what it points
// to) and subfolders with all they hold. A folder path that is itself a symbolic link is not
// entered. Returns the number of entries looked at in folder ("." and ".." not counted).
int EmptyFolder(const QString &folder);

// Removes the working folders that earlier runs left in the data folder: every real folder
// (not a link) whose name begins with exactly "ZUP", completely. ownWorkingFolder, when given,
// is never touched. Returns the number of folders removed.
int RemoveObsoleteZUPFolders(const QString &dataFolder, Prompter &prompter, const QString &ownWorkingFolder = {});

} // namespace tavrin

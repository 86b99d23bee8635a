#include "cli/CliLayout.h"

#include "cli/CliCommands.h"

#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin::cli {

std::unique_ptr<CliLayout> CliLayout::Open(const QString &path, const QString &chosenFolder)
{
    auto opened = std::make_unique<CliLayout>();
    bool madeChosenFolder = false;
    if (chosenFolder.isEmpty()) {
        opened->workingFolder = MakeFreshWorkingFolder(DataFolderPath());
        if (opened->workingFolder.isEmpty()) {
            PrintFailure(QStringLiteral("Cannot make a working folder in ") + DataFolderPath());
            return nullptr;
        }
        opened->ownFolder_ = true;
    } else {
        // The tool never empties a folder it did not make: a folder that holds anything (other
        // files, the very layout to read) is refused, not cleared.
        const QFileInfo info(chosenFolder);
        if (info.exists() || info.isSymLink()) {
            if (!info.isDir() || info.isSymLink()
                || !QDir(chosenFolder)
                        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                        .isEmpty()) {
                PrintFailure(QStringLiteral("The working folder must be new or empty: ") + chosenFolder);
                return nullptr;
            }
        } else if (!QDir().mkpath(chosenFolder)) {
            PrintFailure(QStringLiteral("Cannot make the working folder: ") + chosenFolder);
            return nullptr;
        } else {
            madeChosenFolder = true;
        }
        opened->workingFolder = chosenFolder;
    }
    const QString failure = OpenLayoutFile(path, opened->workingFolder, opened->layout, opened->opened);
    if (!failure.isEmpty()) {
        // What was unpacked goes again; the folder itself only when this run made it.
        if (madeChosenFolder)
            RemoveOwnFolder(chosenFolder);
        else if (!chosenFolder.isEmpty())
            EmptyFolder(chosenFolder);
        PrintFailure(failure);
        return nullptr;
    }
    return opened;
}

CliLayout::~CliLayout()
{
    if (ownFolder_)
        RemoveOwnFolder(workingFolder);
}

} // namespace tavrin::cli

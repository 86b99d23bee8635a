#include "cli/CliLayout.h"

#include "cli/CliCommands.h"

#include "platform/FolderCleanup.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin::cli {

std::unique_ptr<CliLayout> CliLayout::Open(const QString &path, const QString &chosenFolder)
{
    auto opened = std::make_unique<CliLayout>();
    bool madeChosenFolder = false;
    if (chosenFolder.isEmpty()) {
        opened->workingFolder = opened->temporary_.path();
        if (!opened->temporary_.isValid()) {
            PrintFailure(QStringLiteral("Cannot make the working folder."));
            return nullptr;
        }
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

bool TakeTvImageOption(const QStringList &arguments, qsizetype &i, bool &whitePrint, int &rotation, bool &valid)
{
    const QString &argument = arguments[i];
    if (argument == QLatin1String("--white-print")) {
        whitePrint = true;
        return true;
    }
    if (argument != QLatin1String("--rotation") || i + 1 >= arguments.size())
        return false;
    const QString value = arguments[++i];
    if (value == QLatin1String("0") || value == QLatin1String("1") || value == QLatin1String("2"))
        rotation = value.toInt();
    else
        valid = false;
    return true;
}

} // namespace tavrin::cli

#include "cli/CliLayout.h"

#include "cli/CliCommands.h"

#include <QDir>

namespace tavrin::cli {

std::unique_ptr<CliLayout> CliLayout::Open(const QString &path, const QString &chosenFolder)
{
    auto opened = std::make_unique<CliLayout>();
    opened->workingFolder = chosenFolder.isEmpty() ? opened->temporary_.path() : chosenFolder;
    if (chosenFolder.isEmpty() ? !opened->temporary_.isValid() : !QDir().mkpath(chosenFolder)) {
        PrintFailure(QStringLiteral("Cannot make the working folder."));
        return nullptr;
    }
    const QString failure = OpenLayoutFile(path, opened->workingFolder, opened->layout, opened->opened);
    if (!failure.isEmpty()) {
        PrintFailure(failure);
        return nullptr;
    }
    return opened;
}

} // namespace tavrin::cli

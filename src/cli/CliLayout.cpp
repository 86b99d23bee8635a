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

#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "document/SaveOutput.h"
#include "layout/MenuLayout.h"
#include "layout/PathText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace tavrin::cli {

namespace {

struct NewArguments {
    QString background;
    QString target; // FOLDER/BASE, named like a name typed into the save dialog
    int columns = 2;
    int rows = 16;
    bool replace = false; // a layout or TV image already at the name may be replaced
};

std::optional<int> CountOption(const QStringList &arguments, qsizetype &i, int most)
{
    if (i + 1 >= arguments.size())
        return std::nullopt;
    bool ok = false;
    const int value = arguments[++i].toInt(&ok);
    if (!ok || value < 1 || value > most)
        return std::nullopt;
    return value;
}

std::optional<NewArguments> ParseNewArguments(const QStringList &arguments)
{
    NewArguments parsed;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--columns") || argument == QLatin1String("--rows")) {
            const bool columns = argument == QLatin1String("--columns");
            const std::optional<int> count = CountOption(arguments, i, columns ? kMaxColumns : kMaxRows);
            if (!count)
                return std::nullopt;
            (columns ? parsed.columns : parsed.rows) = *count;
        } else if (argument == QLatin1String("--replace")) {
            parsed.replace = true;
        } else if (!argument.startsWith(QLatin1Char('-'))) {
            positional << argument;
        } else {
            return std::nullopt;
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    parsed.background = positional[0];
    parsed.target = positional[1];
    return parsed;
}

} // namespace

// tavrin-cli new BACKGROUND --columns C --rows R [--replace] FOLDER/BASE: an empty board on the
// background, saved under the name given; prints the two paths written. A layout or TV image
// already there is replaced only with --replace: a blank board over a filled one is almost
// always a mistake.
int NewCommand(const QStringList &arguments)
{
    const std::optional<NewArguments> parsed = ParseNewArguments(arguments);
    if (!parsed)
        return UsageError(
            QStringLiteral("usage: tavrin-cli new BACKGROUND --columns 1-9 --rows 1-201 [--replace] FOLDER/BASE"));
    const QString base = FileNamePart(parsed->target);
    if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String(".."))
        return UsageError(QStringLiteral("new needs a file name after the folder: ") + parsed->target);

    const QString target = QFileInfo(parsed->target).absoluteFilePath();
    const QString package = PackagePathForChosenName(target, false);
    if (!parsed->replace) {
        for (const QString &file : {PackagePathToWrite(package), TvImagePathBeside(package, false)}) {
            const QFileInfo there(file);
            if (there.exists() || there.isSymLink()) {
                PrintLayoutFailure(parsed->target, QStringLiteral("%1 is there already. A new, empty board is not "
                                                                  "written over it; give --replace to replace it.")
                                                       .arg(file));
                return 1;
            }
        }
    }

    CliBoard board;
    const DocumentResult made =
        board.document().newBoard(QFileInfo(parsed->background).absoluteFilePath(), parsed->columns, parsed->rows);
    if (!made) {
        PrintLayoutFailure(parsed->background, made.message);
        return 1;
    }
    QDir().mkpath(QFileInfo(target).path());
    return board.save(package, parsed->target, parsed->replace, /*rotation=*/0) ? 0 : 1;
}

} // namespace tavrin::cli

#include "cli/Batch.h"
#include "cli/CarriedFonts.h"
#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "document/SaveOutput.h"
#include "layout/PathText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace tavrin::cli {

namespace {

struct SaveArguments {
    QStringList layouts;
    QString target;          // FOLDER/BASE, named like a name typed into the save dialog
    bool intoFolder = false; // several layouts, or an existing folder: the editor's names in it
    OutputOptions options;
};

bool SaveOne(const QString &layoutPath, const SaveArguments &parsed)
{
    CliBoard board;
    if (!board.open(layoutPath, parsed.options))
        return false;
    // The folder is made once there is a layout to save into it; one that cannot be made fails
    // the save, which names it.
    QDir().mkpath(parsed.intoFolder ? parsed.target : QFileInfo(parsed.target).path());
    BoardDocument &document = board.document();
    const QString package =
        parsed.intoFolder ? ProposedPackagePath(document, QFileInfo(parsed.target).absoluteFilePath())
                          : PackagePathForChosenName(QFileInfo(parsed.target).absoluteFilePath(), document.whitePrint());
    // The command names the files it writes: those there are replaced.
    const bool saved = board.save(package, layoutPath, /*replace=*/true, board.rotation(parsed.options));
    PrintFontWarnings(layoutPath, document);
    return saved;
}

} // namespace

// tavrin-cli save PATH... FOLDER[/BASE] [options]: the editor's open command, then its save
// command with the name given (a FOLDER takes the name the save dialog proposes). Prints the
// package and the TV image written for each layout.
int SaveCommand(const QStringList &arguments)
{
    SaveArguments parsed;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        QString error;
        const OptionTaken taken = TakeOutputOption(arguments, i, parsed.options, error);
        if (taken == OptionTaken::Bad)
            return UsageError(error);
        if (taken == OptionTaken::Yes)
            continue;
        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            return UsageError(QStringLiteral("save does not know ") + argument);
        positional << argument;
    }
    if (positional.size() < 2)
        return UsageError(QStringLiteral("save needs a layout file and FOLDER/BASE"));
    parsed.target = positional.takeLast();
    parsed.layouts = positional;

    parsed.intoFolder = parsed.layouts.size() > 1 || QFileInfo(parsed.target).isDir();
    if (!parsed.intoFolder) {
        // The editor names the files after the base name typed; without one there is nothing to
        // name them after.
        const QString base = FileNamePart(parsed.target);
        if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String(".."))
            return UsageError(QStringLiteral("save needs a file name after the folder: ") + parsed.target);
    }
    const int count = int(parsed.layouts.size());
    const bool ok = RunBatch(parsed.layouts, parsed.options.jobs > 0 ? parsed.options.jobs : DefaultJobCount(), [&](int i) {
        ReportProgress(i, count, parsed.layouts[i]);
        return SaveOne(parsed.layouts[i], parsed);
    });
    return ok ? 0 : 1;
}

} // namespace tavrin::cli

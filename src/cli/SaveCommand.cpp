#include "cli/CliCommands.h"
#include "cli/CliLayout.h"

#include "editor/MessageTexts.h"
#include "editor/SaveOutput.h"
#include "layout/LayoutPackage.h"
#include "platform/SilentPrompter.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <optional>

namespace tavrin::cli {

namespace {

struct SaveArguments {
    QString layoutPath;
    QString target; // FOLDER/BASE, named like a name typed into the save dialog
    bool whitePrint = false;
    int rotation = 0;
};

std::optional<SaveArguments> ParseSaveArguments(const QStringList &arguments)
{
    SaveArguments parsed;
    QStringList positional;
    bool valid = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (TakeTvImageOption(arguments, i, parsed.whitePrint, parsed.rotation, valid)) {
            continue;
        } else if (!argument.startsWith(QLatin1Char('-'))) {
            positional << argument;
        } else {
            return std::nullopt;
        }
    }
    if (!valid || positional.size() != 2)
        return std::nullopt;
    parsed.layoutPath = positional[0];
    parsed.target = positional[1];
    return parsed;
}

} // namespace

// tavrin-cli save PATH FOLDER/BASE [--white-print] [--rotation 0|1|2]: the save command without
// dialogs. The layout package and the TV image go into FOLDER under the names the editor's save
// gives a typed BASE, with the rotation given instead of asked; prints the two paths written.
int SaveCommand(const QStringList &arguments)
{
    const std::optional<SaveArguments> parsed = ParseSaveArguments(arguments);
    if (!parsed) {
        PrintFailure(QStringLiteral("usage: tavrin-cli save PATH FOLDER/BASE [--white-print] [--rotation 0|1|2]"));
        return 2;
    }
    const std::unique_ptr<CliLayout> opened = CliLayout::Open(parsed->layoutPath);
    if (!opened)
        return 1;
    MenuLayout &layout = opened->layout;
    const QString &workingFolder = opened->workingFolder;
    layout.WhitePrintBackground = parsed->whitePrint;

    // Unturned here: the TV image writer turns a portrait board as the job says.
    FontList fontList;
    const QImage board = RenderTvImage(layout, opened->opened, workingFolder, parsed->whitePrint, 0, &fontList);

    const QString target = QFileInfo(parsed->target).absoluteFilePath();
    QDir().mkpath(QFileInfo(target).path());
    TvImageJob job;
    job.board = board;
    job.packagePath = PackagePathForChosenName(target, parsed->whitePrint);
    job.whitePrint = parsed->whitePrint;
    job.backgroundName = opened->opened.background.backgroundName;
    job.rememberRotation = false;
    const int rotation = parsed->rotation;
    job.chooseRotation = [rotation](int) { return rotation; };

    SilentPrompter prompter;
    const SavedLayoutFiles saved = WriteLayoutAndTvImage(
        job, {layout, opened->opened.names.isPackage, opened->opened.background.backgroundImagePath, fontList,
         workingFolder},
        prompter);
    for (const QString &message : prompter.messages)
        PrintFailure(message);
    if (!saved.ok) {
        PrintFailure(kSaveFailureText.trimmed());
        return 1;
    }
    std::printf("%s\n%s\n", QFile::encodeName(saved.packagePath).constData(),
                QFile::encodeName(saved.tvImagePath).constData());
    return 0;
}

} // namespace tavrin::cli

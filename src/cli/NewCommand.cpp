#include "cli/CliCommands.h"

#include "editor/Editor.h"
#include "editor/HeadlessControls.h"
#include "editor/MessageTexts.h"
#include "editor/SaveOutput.h"
#include "layout/MenuLayout.h"
#include "platform/SilentPrompter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace tavrin::cli {

namespace {

struct NewArguments {
    QString background;
    QString target; // FOLDER/BASE, named like a name typed into the save dialog
    int columns = 2;
    int rows = 16;
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

// tavrin-cli new BACKGROUND --columns C --rows R FOLDER/BASE: the editor's new layout on the
// background, saved as the editor's save names a typed BASE; prints the two paths written.
int NewCommand(const QStringList &arguments)
{
    const std::optional<NewArguments> parsed = ParseNewArguments(arguments);
    if (!parsed) {
        PrintFailure(QStringLiteral("usage: tavrin-cli new BACKGROUND --columns 1-9 --rows 1-201 FOLDER/BASE"));
        return 2;
    }
    QTemporaryDir temporary;
    if (!temporary.isValid()) {
        PrintFailure(QStringLiteral("Cannot make the working folder."));
        return 1;
    }
    HeadlessControls controls;
    SilentPrompter prompter;
    Editor editor(controls, prompter);
    editor.paths.dataFolder = temporary.path();
    editor.paths.workingFolder = temporary.path() + QStringLiteral("/start");
    QDir().mkpath(editor.paths.workingFolder);
    const QString background = QFileInfo(parsed->background).absoluteFilePath();
    const bool made = editor.NewLayout(background, parsed->columns, parsed->rows);
    for (const QString &message : prompter.messages)
        PrintFailure(message);
    if (!made)
        return 1;
    prompter.messages.clear();

    const QImage board = editor.RenderOutputBoard();
    const QString target = QFileInfo(parsed->target).absoluteFilePath();
    QDir().mkpath(QFileInfo(target).path());
    TvImageJob job;
    job.board = board;
    job.packagePath = PackagePathForChosenName(target, false);
    job.backgroundName = editor.backgroundName;
    job.rememberRotation = false;
    job.chooseRotation = [](int) { return 0; };
    const SavedLayoutFiles saved = WriteLayoutAndTvImage(
        job, {editor.layout, editor.fromPackage, editor.backgroundImagePath, editor.fontList, editor.paths.workingFolder},
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

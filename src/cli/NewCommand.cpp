#include "cli/CliCommands.h"
#include "cli/HeadlessEditor.h"

#include "document/MessageTexts.h"
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
// background, then its save command with the name given; prints the two paths written.
int NewCommand(const QStringList &arguments)
{
    const std::optional<NewArguments> parsed = ParseNewArguments(arguments);
    if (!parsed)
        return UsageError(QStringLiteral("usage: tavrin-cli new BACKGROUND --columns 1-9 --rows 1-201 FOLDER/BASE"));
    const QString base = FileNamePart(parsed->target);
    if (base.isEmpty() || base == QLatin1String(".") || base == QLatin1String(".."))
        return UsageError(QStringLiteral("new needs a file name after the folder: ") + parsed->target);

    HeadlessEditor session;
    Editor &editor = session.editor();
    CliPrompter &prompter = session.prompter;
    const bool made = editor.NewLayout(QFileInfo(parsed->background).absoluteFilePath(), parsed->columns, parsed->rows);
    for (const QString &message : prompter.messages)
        PrintLayoutFailure(parsed->background, message);
    if (!made)
        return 1;
    prompter.messages.clear();

    const QString target = QFileInfo(parsed->target).absoluteFilePath();
    QDir().mkpath(QFileInfo(target).path());
    prompter.savePath = target;
    prompter.rotation = 0;
    editor.rememberTvRotation = false;
    return session.save(parsed->target) ? 0 : 1;
}

} // namespace tavrin::cli

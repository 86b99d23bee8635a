#include "cli/Batch.h"
#include "cli/CarriedFonts.h"
#include "cli/CliCommands.h"
#include "cli/HeadlessEditor.h"
#include "cli/OutputNames.h"

#include <QDir>
#include <QFileInfo>

namespace tavrin::cli {

namespace {

struct RenderArguments {
    QStringList layouts;
    QString output;
    bool intoFolder = false; // several layouts, or OUT is a folder: the editor's names in it
    OutputOptions options;
};

bool RenderOne(const QString &layoutPath, const RenderArguments &parsed)
{
    HeadlessEditor session;
    session.editor().outputFollowsOpen = true;
    if (!session.open(layoutPath, parsed.options))
        return false;
    Editor &editor = session.editor();
    if (parsed.intoFolder && !QDir().mkpath(parsed.output)) {
        PrintLayoutFailure(layoutPath, QStringLiteral("Cannot make the folder ") + parsed.output);
        return false;
    }
    const QString target = parsed.intoFolder ? ProposedTvImagePath(editor, parsed.output) : parsed.output;
    if (!editor.ExportTvImage(target)) {
        PrintLayoutFailure(layoutPath, QStringLiteral("The TV image could not be written to %1 (the background "
                                                      "image cannot be read: %2, or the file cannot be written).")
                                           .arg(target, editor.backgroundImagePath));
        return false;
    }
    PrintFontWarnings(layoutPath, editor);
    return true;
}

} // namespace

// tavrin-cli render PATH... -o OUT|FOLDER [options]: the editor's open command, then the TV image
// as the save command writes it.
int RenderCommand(const QStringList &arguments)
{
    RenderArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        QString error;
        const OptionTaken taken = TakeOutputOption(arguments, i, parsed.options, error);
        if (taken == OptionTaken::Bad)
            return UsageError(error);
        if (taken == OptionTaken::Yes)
            continue;
        if (argument == QLatin1String("-o")) {
            if (i + 1 >= arguments.size())
                return UsageError(QStringLiteral("-o needs a file or folder"));
            parsed.output = arguments[++i];
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return UsageError(QStringLiteral("render does not know ") + argument);
        } else {
            parsed.layouts << argument;
        }
    }
    if (parsed.layouts.isEmpty())
        return UsageError(QStringLiteral("render needs a layout file"));
    if (parsed.output.isEmpty())
        return UsageError(QStringLiteral("render needs -o OUT"));

    parsed.intoFolder = parsed.layouts.size() > 1 || QFileInfo(parsed.output).isDir()
                        || parsed.output.endsWith(QLatin1Char('/'));
    const int count = int(parsed.layouts.size());
    const bool ok = RunBatch(parsed.layouts, parsed.options.jobs > 0 ? parsed.options.jobs : DefaultJobCount(), [&](int i) {
        ReportProgress(i, count, parsed.layouts[i]);
        return RenderOne(parsed.layouts[i], parsed);
    });
    return ok ? 0 : 1;
}

} // namespace tavrin::cli

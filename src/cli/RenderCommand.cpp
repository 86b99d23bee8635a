#include "cli/Batch.h"
#include "cli/CarriedFonts.h"
#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "document/SaveOutput.h"

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
    CliBoard board;
    if (!board.open(layoutPath, parsed.options))
        return false;
    if (parsed.intoFolder && !QDir().mkpath(parsed.output)) {
        PrintLayoutFailure(layoutPath, QStringLiteral("Cannot make the folder ") + parsed.output);
        return false;
    }
    BoardDocument &document = board.document();
    // Into a folder, under the name the save would give the TV image.
    const QString target = parsed.intoFolder
                               ? TvImagePathBeside(ProposedPackagePath(document, parsed.output), document.whitePrint())
                               : parsed.output;
    const DocumentResult written = document.exportTvImage(target, board.rotation(parsed.options));
    if (!written) {
        PrintLayoutFailure(layoutPath, written.message);
        return false;
    }
    PrintFontWarnings(layoutPath, document);
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

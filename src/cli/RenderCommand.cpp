#include "cli/CliCommands.h"
#include "cli/CliLayout.h"

#include "fonts/FontMatching.h"
#include "images/TvImageOutput.h"
#include "layout/LayoutFileOpening.h"
#include "render/BoardRenderer.h"


#include <memory>

namespace tavrin::cli {

namespace {

struct RenderArguments {
    QString layoutPath;
    QString output;
    bool whitePrint = false;
    int rotation = 0;
};

std::optional<RenderArguments> ParseRenderArguments(const QStringList &arguments)
{
    RenderArguments parsed;
    bool valid = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("-o") && i + 1 < arguments.size()) {
            parsed.output = arguments[++i];
        } else if (TakeTvImageOption(arguments, i, parsed.whitePrint, parsed.rotation, valid)) {
            continue;
        } else if (parsed.layoutPath.isEmpty() && !argument.startsWith(QLatin1Char('-'))) {
            parsed.layoutPath = argument;
        } else {
            return std::nullopt;
        }
    }
    if (!valid || parsed.layoutPath.isEmpty() || parsed.output.isEmpty())
        return std::nullopt;
    return parsed;
}

} // namespace

QImage RenderTvImage(const MenuLayout &layout, const OpenedLayoutFile &opened, const QString &workingFolder,
                     bool whitePrint, int rotation, FontList *fontList)
{
    auto geometry = std::make_unique<GeometryRecords>();
    BoardRenderer renderer(layout, *geometry);
    renderer.sources.backgroundName = opened.background.backgroundName;
    renderer.sources.backgroundImagePath = opened.background.backgroundImagePath;
    renderer.sources.workingFolder = workingFolder;
    renderer.fontList = fontList;
    renderer.fontFileLookup = [](const QString &face) { return FindFontFile(face); };
    // A preview region larger than the board shows it at one preview pixel per board pixel, so
    // the cells are laid out at the board's own resolution.
    const QRect region(0, 0, 1 << 20, 1 << 20);
    QImage board = renderer.renderForOutput(region, whitePrint);
    // Only a portrait board is ever turned for the television.
    if (!board.isNull() && board.width() < board.height())
        board = RotateForTv(board, rotation);
    return board;
}

// tavrin-cli render PATH -o OUT [--white-print] [--rotation 0|1|2]: the image for the
// television, exactly as saving writes it.
int RenderCommand(const QStringList &arguments)
{
    const std::optional<RenderArguments> parsed = ParseRenderArguments(arguments);
    if (!parsed) {
        PrintFailure(QStringLiteral("usage: tavrin-cli render PATH -o OUT [--white-print] [--rotation 0|1|2]"));
        return 2;
    }
    const std::unique_ptr<CliLayout> opened = CliLayout::Open(parsed->layoutPath);
    if (!opened)
        return 1;
    FontList fontList;
    const QImage board = RenderTvImage(opened->layout, opened->opened, opened->workingFolder, parsed->whitePrint,
                                       parsed->rotation, &fontList);
    if (board.isNull()) {
        PrintFailure(QStringLiteral("The background image cannot be read: ") + opened->opened.background.backgroundImagePath);
        return 1;
    }
    if (!SaveTvImage(board, parsed->output, TvImageFormatFor(opened->opened.background.backgroundName))) {
        PrintFailure(QStringLiteral("Cannot write ") + parsed->output);
        return 1;
    }
    return 0;
}

} // namespace tavrin::cli

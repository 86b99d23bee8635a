#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "check/DocumentCheck.h"
#include "platform/HeadlessGui.h"

#include <cstdio>
#include <memory>

namespace tavrin::cli {

// tavrin-cli check LAYOUT... [--min-text-height PX] [--safe-area PCT]: what would look wrong on
// the TV, a line per finding ("LAYOUT: column C, row R "item": what"). Exit status 1 when
// anything is reported or a layout cannot be opened.
int CheckCommand(const QStringList &arguments)
{
    // Text is measured and drawn with the system's fonts.
    EnsureGuiApplication();
    const char *const usage = "usage: tavrin-cli check LAYOUT... [--min-text-height PX] [--safe-area PCT]";
    QStringList layouts;
    BoardCheckOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        bool ok = true;
        if (argument == QLatin1String("--min-text-height") && i + 1 < arguments.size()) {
            options.minTextHeight = arguments[++i].toDouble(&ok);
            ok = ok && options.minTextHeight > 0.0;
        } else if (argument == QLatin1String("--safe-area") && i + 1 < arguments.size()) {
            options.safeAreaPercent = arguments[++i].toDouble(&ok);
            ok = ok && options.safeAreaPercent >= 0.0 && options.safeAreaPercent < 50.0;
        } else if (!argument.startsWith(QLatin1Char('-'))) {
            layouts << argument;
        } else {
            ok = false;
        }
        if (!ok) {
            PrintFailure(QString::fromLatin1(usage));
            return 2;
        }
    }
    if (layouts.isEmpty()) {
        PrintFailure(QString::fromLatin1(usage));
        return 2;
    }
    bool anything = false;
    for (const QString &path : layouts) {
        CliBoard board;
        if (!board.open(path)) {
            anything = true;
            continue;
        }
        for (const BoardFinding &finding : CheckBoardDocument(board.document(), options)) {
            anything = true;
            std::printf("%s: %s\n", path.toUtf8().constData(), finding.text().toUtf8().constData());
        }
    }
    return anything ? 1 : 0;
}

} // namespace tavrin::cli

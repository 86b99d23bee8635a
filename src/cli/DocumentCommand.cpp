#include "cli/CliCommands.h"
#include "cli/CliLayout.h"

#include "layout/LayoutFileOpening.h"


#include <cstdio>
#include <memory>

namespace tavrin::cli {

void PrintFailure(const QString &message)
{
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

// tavrin-cli document PATH [--working-folder DIR]: the layout document the program writes for
// the layout at PATH, plain and on one line. A package is unpacked into a temporary folder, or
// into DIR when given (its pictures' paths then point there and stay valid); DIR must be new or
// empty.
int DocumentCommand(const QStringList &arguments)
{
    QString chosenFolder;
    QStringList paths;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--working-folder") && i + 1 < arguments.size())
            chosenFolder = arguments[++i];
        else
            paths << arguments[i];
    }
    if (paths.size() != 1) {
        PrintFailure(QStringLiteral("usage: tavrin-cli document PATH [--working-folder DIR]"));
        return 2;
    }
    const std::unique_ptr<CliLayout> opened = CliLayout::Open(paths[0], chosenFolder);
    if (!opened)
        return 1;
    const QString document = BuildLayoutDocument(opened->layout, opened->opened.background.backgroundImagePath);
    std::fwrite(document.toUtf8().constData(), 1, size_t(document.toUtf8().size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}

} // namespace tavrin::cli

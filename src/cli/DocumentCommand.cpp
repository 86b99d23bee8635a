#include "cli/CliCommands.h"
#include "cli/CliLayout.h"
#include "cli/CliBoard.h"

#include "layout/LayoutFileOpening.h"
#include "platform/HeadlessGui.h"

#include <cstdio>
#include <memory>

namespace tavrin::cli {

namespace {

void PrintDocument(const QString &document)
{
    const QByteArray bytes = document.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

} // namespace

// tavrin-cli document PATH [--working-folder DIR | --opened]: the layout document the program
// writes for the layout at PATH, plain and on one line. As read, it follows the reading rules
// alone: a package is unpacked into a working folder of this run, or into DIR when given (its
// pictures' paths then point there and stay valid); DIR must be new or empty. --opened prints
// it after the editor's whole open command, with its pass over the opened strips.
int DocumentCommand(const QStringList &arguments)
{
    QString chosenFolder;
    bool afterOpen = false;
    QStringList paths;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--working-folder")) {
            if (i + 1 >= arguments.size())
                return UsageError(QStringLiteral("--working-folder needs a folder"));
            chosenFolder = arguments[++i];
        } else if (arguments[i] == QLatin1String("--opened")) {
            afterOpen = true;
        } else if (arguments[i].startsWith(QLatin1Char('-')) && arguments[i].size() > 1) {
            return UsageError(QStringLiteral("document does not know ") + arguments[i]);
        } else {
            paths << arguments[i];
        }
    }
    if (paths.size() != 1)
        return UsageError(QStringLiteral("document takes one layout file"));
    if (afterOpen && !chosenFolder.isEmpty())
        return UsageError(QStringLiteral("--opened works in the editor's own working folder, not --working-folder"));

    EnsureGuiApplication();
    if (afterOpen) {
        CliBoard board;
        if (!board.open(paths[0]))
            return 1;
        PrintDocument(BuildLayoutDocument(board.document().layout(), board.document().backgroundImagePath()));
        return 0;
    }
    const std::unique_ptr<CliLayout> opened = CliLayout::Open(paths[0], chosenFolder);
    if (!opened)
        return 1;
    PrintDocument(BuildLayoutDocument(opened->layout, opened->opened.background.backgroundImagePath));
    return 0;
}

} // namespace tavrin::cli

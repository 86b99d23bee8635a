#include "cli/CliCommands.h"
#include "cli/CliBoard.h"

#include "platform/HeadlessGui.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace tavrin::cli {

// tavrin-cli convert LEGACY.XMARBIX: the editor's conversion of a legacy layout (its document and
// support folder) into one package, answered yes without a dialog. Prints the package written.
int ConvertCommand(const QStringList &arguments)
{
    if (arguments.size() != 1 || (arguments[0].startsWith(QLatin1Char('-')) && arguments[0].size() > 1))
        return UsageError(QStringLiteral("convert takes one legacy layout document"));
    const QString &path = arguments[0];

    EnsureGuiApplication();
    CliBoard board;
    if (!board.open(path))
        return 1;
    const DocumentResult converted = board.document().convertLegacy();
    if (!converted) {
        PrintLayoutFailure(path, converted.message);
        return 1;
    }
    for (const QString &notice : converted.notices)
        PrintLayoutFailure(path, notice);
    std::printf("%s\n", QFile::encodeName(converted.file).constData());
    return 0;
}

} // namespace tavrin::cli

#include "cli/CliCommands.h"
#include "cli/HeadlessEditor.h"

#include "layout/LayoutFileNames.h"
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
    HeadlessEditor session;
    if (!session.open(path))
        return 1;
    Editor &editor = session.editor();
    if (editor.fromPackage) {
        PrintLayoutFailure(path, QStringLiteral("This is a layout package already; only a legacy layout document "
                                                "(.XMARBIX) and its support folder are converted."));
        return 1;
    }
    editor.migrationPending = false;
    session.prompter.yesNoAnswer = Answer::Yes;
    if (!editor.MigrateLegacyLayout()) {
        for (const QString &message : session.prompter.messages)
            PrintLayoutFailure(path, message);
        const QString package = editor.pickedFolder + ConvertedPackageName(editor.legacyDocumentName);
        if (session.prompter.messages.isEmpty())
            PrintLayoutFailure(path, QFileInfo::exists(package)
                                         ? QStringLiteral("%1 is there already; it is never replaced.").arg(package)
                                         : QStringLiteral("This layout document has no package name of its own."));
        return 1;
    }
    // The open layout is the package now.
    std::printf("%s\n", QFile::encodeName(editor.backgroundName).constData());
    return 0;
}

} // namespace tavrin::cli

#include "cli/HeadlessEditor.h"

#include "cli/CarriedFonts.h"

#include "document/MessageTexts.h"
#include "document/SaveOutput.h"
#include "platform/DataFolders.h"
#include "platform/FolderCleanup.h"

#include <QFileInfo>

#include <cstdio>

namespace tavrin::cli {

void PrintLayoutFailure(const QString &path, const QString &message)
{
    QString text = message.trimmed();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QByteArray line = QStringLiteral("tavrin-cli: %1: %2\n").arg(path, text).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

HeadlessEditor::HeadlessEditor()
{
    editor_.paths.dataFolder = DataFolderPath();
    editor_.paths.workingFolder = MakeFreshWorkingFolder(editor_.paths.dataFolder);
    editor_.paths.programFolder = ProgramFolderPath();
    editor_.paths.currentFolder = editor_.paths.programFolder;
    editor_.saveFeedback = &feedback_;
    // Nobody looks at a preview here; the files written do not depend on one.
    editor_.previewShown = false;
}

HeadlessEditor::~HeadlessEditor() { RemoveOwnFolder(editor_.paths.workingFolder); }

bool HeadlessEditor::open(const QString &path)
{
    if (editor_.paths.workingFolder.isEmpty()) {
        PrintLayoutFailure(path, QStringLiteral("Cannot make a working folder in ") + editor_.paths.dataFolder);
        return false;
    }
    prompter.openPath = QFileInfo(path).absoluteFilePath();
    editor_.provideMissingFonts = [](QString &missing) { return UseCarriedFonts(missing); };
    prompter.messages.clear();
    editor_.OpenLayoutCommand();
    const bool opened = !editor_.backgroundName.isEmpty();
    for (const QString &message : prompter.messages)
        PrintLayoutFailure(path, message);
    if (!opened && prompter.messages.isEmpty())
        PrintLayoutFailure(path, QStringLiteral("The layout was not opened."));
    prompter.messages.clear();
    return opened;
}

bool HeadlessEditor::open(const QString &path, const OutputOptions &options)
{
    if (!open(path))
        return false;
    if (options.whitePrint)
        editor_.setWhitePrint(*options.whitePrint);
    prompter.rotation = options.rotation;
    editor_.rememberTvRotation = !options.rotation;
    return true;
}

bool HeadlessEditor::save(const QString &reportPath)
{
    prompter.yesNoAnswer = Answer::Yes;
    prompter.messages.clear();
    editor_.SaveLayoutAndTvImageCommand();
    for (const QString &message : prompter.messages)
        PrintLayoutFailure(reportPath, message);
    if (prompter.savedAs.isEmpty() || prompter.saveResult.isEmpty() || prompter.saveResult == kSaveFailureText) {
        PrintLayoutFailure(reportPath, kSaveFailureText);
        return false;
    }
    const bool whitePrint = editor_.whitePrintChecked();
    const QString package = PackagePathForChosenName(prompter.savedAs, whitePrint);
    const QByteArray written = QFile::encodeName(PackagePathToWrite(package)) + '\n'
                               + QFile::encodeName(TvImagePathBeside(package, whitePrint)) + '\n';
    // One write, so that the lines of workers saving side by side do not mix.
    std::fwrite(written.constData(), 1, size_t(written.size()), stdout);
    std::fflush(stdout);
    return true;
}

} // namespace tavrin::cli

#include "cli/CliBoard.h"

#include "cli/CarriedFonts.h"

#include "document/RotationSetting.h"
#include "document/SaveOutput.h"
#include "platform/DataFolders.h"

#include <QFile>
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

QString ProposedPackagePath(const BoardDocument &document, const QString &folder)
{
    const bool whitePrint = document.whitePrint();
    return PackagePathForChosenName(folder + QLatin1Char('/') + document.proposedSaveName(whitePrint), whitePrint);
}

CliBoard::CliBoard() : document_(DataFolderPath()) {}

bool CliBoard::open(const QString &path, bool outputFollows)
{
    OpenOptions options;
    options.outputFollows = outputFollows;
    options.provideMissingFonts = [](QString &missing, const QString &, const QString &) {
        return UseCarriedFonts(missing);
    };
    const DocumentResult opened = document_.open(QFileInfo(path).absoluteFilePath(), options);
    if (!opened)
        PrintLayoutFailure(path, opened.message.isEmpty() ? QStringLiteral("The layout was not opened.") : opened.message);
    return opened.ok();
}

bool CliBoard::open(const QString &path, const OutputOptions &options)
{
    if (!open(path, true))
        return false;
    if (options.whitePrint)
        document_.setWhitePrint(*options.whitePrint);
    return true;
}

int CliBoard::rotation(const OutputOptions &options) const
{
    return options.rotation ? *options.rotation : ReadRotationSetting(document_.dataFolder());
}

bool CliBoard::save(const QString &packagePath, const QString &reportPath, bool replace, int rotation)
{
    SaveOptions options;
    options.replaceExisting = replace;
    options.rotation = rotation;
    const DocumentResult saved = document_.save(packagePath, options);
    if (!saved) {
        PrintLayoutFailure(reportPath, saved.message);
        return false;
    }
    for (const QString &notice : saved.notices)
        PrintLayoutFailure(reportPath, notice);
    const QByteArray written = QFile::encodeName(PackagePathToWrite(packagePath)) + '\n'
                               + QFile::encodeName(TvImagePathBeside(packagePath, document_.whitePrint())) + '\n';
    // One write, so that the lines of workers saving side by side do not mix.
    std::fwrite(written.constData(), 1, size_t(written.size()), stdout);
    std::fflush(stdout);
    return true;
}

} // namespace tavrin::cli

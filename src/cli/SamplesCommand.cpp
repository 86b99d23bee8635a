#include "cli/CliCommands.h"

#include "platform/HeadlessGui.h"
#include "samples/SampleBoards.h"

#include <cstdio>

namespace tavrin::cli {

// tavrin-cli samples FOLDER: the sample boards' layout packages and TV images.
int SamplesCommand(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return UsageError(QStringLiteral("samples takes one folder"));
    EnsureGuiApplication();
    for (samples::SampleKind kind : samples::AllSamples()) {
        QString error;
        const QStringList written = samples::WriteSample(kind, arguments[0], &error);
        if (written.isEmpty()) {
            PrintFailure(error);
            return 1;
        }
        for (const QString &path : written)
            std::printf("%s\n", path.toUtf8().constData());
    }
    return 0;
}

} // namespace tavrin::cli

// The command line as users run it: one render as a whole process (start-up included), and a
// batch of 60 landscape boards in one run with the default number of jobs.
#include "Scenarios.h"

#include "samples/SampleBoards.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace tavrin::bench {
namespace {

struct CommandLineScene {
    QTemporaryDir folder;
    QString landscape, ultraHd;
    QStringList copies; // 60 copies of the landscape sample

    CommandLineScene()
    {
        QString error;
        landscape = samples::WriteSample(samples::SampleKind::Landscape, folder.filePath("samples"), &error).value(0);
        ultraHd = samples::WriteSample(samples::SampleKind::UltraHd, folder.filePath("samples"), &error).value(0);
        QDir().mkpath(folder.filePath("copies"));
        for (int i = 0; i < 60; ++i) {
            const QString copy = folder.filePath(QStringLiteral("copies/Board%1_LAYOUT.MARBIX").arg(i));
            QFile::copy(landscape, copy);
            copies << copy;
        }
        qputenv("TAVRIN_DATA_DIR", QFile::encodeName(folder.filePath("data")));
    }
};
std::unique_ptr<CommandLineScene> scene;

void Prepare()
{
    EnsureGuiApplication();
    if (!scene)
        scene = std::make_unique<CommandLineScene>();
}

void RunCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TAVRIN_CLI_PATH), arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        std::fprintf(stderr, "tavrin-cli failed: %s\n", process.readAllStandardError().constData());
}

const bool registered = [] {
    Register({"cli: one render of the landscape sample, whole process", 20, Prepare,
              [] { RunCli({"render", scene->landscape, "-o", scene->folder.filePath("one.jpg")}); }});
    Register({"cli: one render of the 3840x2160 sample, whole process", 10, Prepare,
              [] { RunCli({"render", scene->ultraHd, "-o", scene->folder.filePath("uhd.jpg")}); }});
    Register({"cli: batch render of 60 landscape boards (boards/s = 60000 / ms)", 3, Prepare,
              [] { RunCli(QStringList{"render"} + scene->copies + QStringList{"-o", scene->folder.filePath("batch")}); }});
    return true;
}();

} // namespace
} // namespace tavrin::bench

// tavrin-cli: the editor's own open, save, render and conversion for batch work and checks,
// without a window.
#include "cli/CarriedFonts.h"
#include "cli/CliCommands.h"

#include "Version.h"
#include "fonts/FontConfigurationLoading.h"
#include "platform/BoardSizedMemory.h"
#include "platform/DataFolders.h"
#include "platform/InstanceLock.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

const char kUsage[] =
    "usage: tavrin-cli <command> [arguments]\n"
    "commands:\n"
    "  render PATH... -o OUT|FOLDER [--white-print|--no-white-print] [--rotation 0|1|2] [--jobs N]\n"
    "        open each layout as the editor does and write its TV image as the save writes it;\n"
    "        several layouts (or OUT a folder) go into FOLDER under the editor's names\n"
    "  save PATH... FOLDER[/BASE] [--white-print|--no-white-print] [--rotation 0|1|2] [--jobs N]\n"
    "        open each layout and run the editor's save: the package and the TV image side by side,\n"
    "        named after BASE, or as the save dialog proposes when FOLDER is a folder\n"
    "  new BACKGROUND --columns C --rows R [--replace] FOLDER/BASE\n"
    "        save an empty board of C columns (1-9) and R rows (1-201) on the background\n"
    "  convert LEGACY.XMARBIX\n"
    "        convert a legacy layout document and its support folder into one package\n"
    "  document PATH [--working-folder DIR | --opened]\n"
    "        print the layout document as read (DIR: a new or empty folder), or after the open\n"
    "  prices export LAYOUT... [-o FILE.csv|FILE.xlsx]\n"
    "        list every price entry of the layouts as a CSV file or an Excel workbook\n"
    "  prices apply FILE.csv|FILE.xlsx [--proof FOLDER] [--allow-outside]\n"
    "        write the changed prices and calories of a list back and save those layouts (only\n"
    "        layouts in the list's folder, unless --allow-outside)\n"
    "  check LAYOUT... [--min-text-height PX] [--viewing-distance M] [--screen-size INCHES]\n"
    "        [--safe-area PCT | --title-safe] [--format text|json]\n"
    "        report what would look wrong on the TV; exit status 1 when anything is found\n"
    "  samples FOLDER\n"
    "        write the sample boards (layout packages and TV images) into FOLDER\n"
    "options:\n"
    "  --white-print, --no-white-print  the white-paper format, instead of the one the layout stores\n"
    "  --rotation 0|1|2                 turn a portrait board: none, clockwise, counter-clockwise\n"
    "                                   (default: the choice the editor remembers)\n"
    "  --jobs N                         layouts worked on at once (default: one per processor)\n"
    "  --help, --version\n"
    "exit status: 0 done, 1 a layout or file failed (each named on standard error), 2 usage error\n";

// Ends the process once a command's files are written and synced and its folders removed,
// without the destructors of Qt's and fontconfig's globals: they would only hand memory back
// to a process that is going away, and that takes longer than the rest of the ending. A
// fontconfig load still under way (a layout that failed before any text) may be writing its
// cache files, and is let finish.
[[noreturn]] void EndProcess(int status)
{
    tavrin::FinishLoadingFontConfiguration();
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty())
        return tavrin::cli::UsageError(QStringLiteral("no command given"));
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))
        || arguments[0] == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arguments[0] == QLatin1String("--version")) {
        std::printf("tavrin-cli %d.%d.%d.%d\n", tavrin::version::kMajor, tavrin::version::kMinor,
                    tavrin::version::kBuild, tavrin::version::kRevision);
        return 0;
    }

    tavrin::PrepareHeapForBoardSizedImages();
    // Most commands from here on match or draw text; fontconfig gets ready meanwhile.
    tavrin::StartLoadingFontConfiguration();

    // Like every run of the editor, this one holds the instance lock of the data folder while it
    // works, so that an editor starting meanwhile leaves its working folders alone.
    const QString dataFolder = tavrin::DataFolderPath();
    tavrin::MakeFolder(dataFolder);
    tavrin::InstanceLock lock;
    lock.acquire(dataFolder);

    const QString command = arguments.takeFirst();
    if (command == QLatin1String("render"))
        EndProcess(tavrin::cli::RenderCommand(arguments));
    if (command == QLatin1String("save"))
        EndProcess(tavrin::cli::SaveCommand(arguments));
    if (command == QLatin1String("document"))
        return tavrin::cli::DocumentCommand(arguments);
    if (command == QLatin1String("convert"))
        return tavrin::cli::ConvertCommand(arguments);
    if (command == QLatin1String("new"))
        return tavrin::cli::NewCommand(arguments);
    if (command == QLatin1String("samples"))
        return tavrin::cli::SamplesCommand(arguments);
    if (command == QLatin1String("prices"))
        return tavrin::cli::PricesCommand(arguments);
    if (command == QLatin1String("check"))
        return tavrin::cli::CheckCommand(arguments);
    return tavrin::cli::UsageError(QStringLiteral("unknown command ") + command);
}

// tavrin-cli: the program's own rules for batch work and checks, without a window.
#include "cli/CliCommands.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

void PrintUsage()
{
    std::fputs("usage: tavrin-cli <command> [arguments]\n"
               "commands:\n"
               "  document PATH [--working-folder DIR]\n"
               "        print the layout document of a layout file (DIR: a new or empty folder)\n"
               "  render PATH -o OUT [--white-print] [--rotation 0|1|2]\n"
               "        write the image for the television\n"
               "  save PATH FOLDER/BASE [--white-print] [--rotation 0|1|2]\n"
               "        save the layout package and the TV image as the editor names them\n"
               "  prices export LAYOUT... [-o FILE.csv]\n"
               "        list every price entry of the layouts as a CSV file\n"
               "  prices apply FILE.csv [--proof FOLDER]\n"
               "        write the changed prices and calories of a list back and save those layouts\n"
               "  check LAYOUT... [--min-text-height PX] [--safe-area PCT]\n"
               "        report what would look wrong on the TV; exit status 1 when anything is found\n"
               "  samples FOLDER\n"
               "        write the sample boards (layout packages and TV images) into FOLDER\n",
               stderr);
}

} // namespace

int main(int argc, char **argv)
{
    // Text is drawn with the system's fonts, which need the GUI application object; no window is
    // ever shown, so the offscreen platform serves everywhere.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList arguments = QGuiApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        PrintUsage();
        return 2;
    }
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("document"))
        return tavrin::cli::DocumentCommand(arguments);
    if (command == QLatin1String("render"))
        return tavrin::cli::RenderCommand(arguments);
    if (command == QLatin1String("save"))
        return tavrin::cli::SaveCommand(arguments);
    if (command == QLatin1String("prices"))
        return tavrin::cli::PricesCommand(arguments);
    if (command == QLatin1String("check"))
        return tavrin::cli::CheckCommand(arguments);
    if (command == QLatin1String("samples"))
        return tavrin::cli::SamplesCommand(arguments);
    PrintUsage();
    return 2;
}

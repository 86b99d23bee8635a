// tavrin-cli: the program's own rules for batch work and checks, without a window.
#include "cli/CliCommands.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void PrintUsage()
{
    std::fputs("usage: tavrin-cli <command> [arguments]\n"
               "commands:\n"
               "  document PATH   print the layout document of a layout file\n",
               stderr);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        PrintUsage();
        return 2;
    }
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("document"))
        return tavrin::cli::DocumentCommand(arguments);
    PrintUsage();
    return 2;
}

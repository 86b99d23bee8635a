#pragma once

#include <QStringList>

namespace tavrin {

class Prompter;

// The process: refuses a file on the command line, starts the toolkit, runs the editor
// window until it ends.
class CTavrinApp {
public:
    // The whole start-up and run; returns the process's exit code.
    static int Run(int argc, char **argv);

    // The command line must not name a file: layouts are opened from inside the editor.
    // Returns true (after telling the user) when it does.
    static bool RefuseFileOnCommandLine(const QStringList &arguments, Prompter &prompter);

    // Whether the toolkit can reach a display; the status number for the start-up message
    // when it cannot (0 when it can).
    static int DisplayStatus();
    static QString StartupFailureText(int status);
};

} // namespace tavrin

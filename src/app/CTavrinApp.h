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
    // Returns true (after telling the user) when it does. The toolkit's own options and their
    // values ("-style Fusion") are not files.
    static bool RefuseFileOnCommandLine(const QStringList &arguments, Prompter &prompter);

    // Whether the toolkit can reach a display on the platform the command line or the
    // environment chooses; the status number for the start-up message when it cannot (0 when
    // it can). A display that is named but cannot be opened is caught when the toolkit starts.
    static int DisplayStatus(const QStringList &arguments);
    static QString StartupFailureText(int status);
};

} // namespace tavrin

#pragma once

#include <QStringList>

#include <optional>

namespace tavrin::cli {

// Each command takes its own arguments (without the command name) and returns the exit code:
// 0 done, 1 a layout or file failed (named on standard error), 2 a usage error (one line).
int DocumentCommand(const QStringList &arguments);
int RenderCommand(const QStringList &arguments);
int SaveCommand(const QStringList &arguments);
int ConvertCommand(const QStringList &arguments);
int SamplesCommand(const QStringList &arguments);
int NewCommand(const QStringList &arguments);
int PricesCommand(const QStringList &arguments);
int CheckCommand(const QStringList &arguments);

// The options of the commands that write TV images: "--white-print", "--no-white-print",
// "--rotation 0|1|2", "--jobs N". Unset ones keep what the layout or the editor would choose.
struct OutputOptions {
    std::optional<bool> whitePrint;
    std::optional<int> rotation;
    int jobs = 0; // 0: one per processor
};

enum class OptionTaken { No, Yes, Bad };

// Whether arguments[i] is one of the output options (i then stands on its last word); Bad with
// error set for a missing or wrong value.
OptionTaken TakeOutputOption(const QStringList &arguments, qsizetype &i, OutputOptions &options, QString &error);

// A usage error: "tavrin-cli: message (see tavrin-cli --help)" on one line; returns 2.
int UsageError(const QString &message);

// Prints a failure on standard error (CR LF shown as plain line breaks).
void PrintFailure(const QString &message);

} // namespace tavrin::cli

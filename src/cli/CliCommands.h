#pragma once

#include <QStringList>

namespace tavrin::cli {

// Each command takes its own arguments (without the command name) and returns the exit code.
int DocumentCommand(const QStringList &arguments);

// Prints a failure on standard error (CR LF shown as plain line breaks).
void PrintFailure(const QString &message);

} // namespace tavrin::cli

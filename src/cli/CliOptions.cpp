#include "cli/CliCommands.h"

#include <cstdio>

namespace tavrin::cli {

void PrintFailure(const QString &message)
{
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

int UsageError(const QString &message)
{
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "tavrin-cli: %s (see tavrin-cli --help)\n", line.toUtf8().constData());
    return 2;
}

OptionTaken TakeOutputOption(const QStringList &arguments, qsizetype &i, OutputOptions &options, QString &error)
{
    const QString &argument = arguments[i];
    if (argument == QLatin1String("--white-print")) {
        options.whitePrint = true;
        return OptionTaken::Yes;
    }
    if (argument == QLatin1String("--no-white-print")) {
        options.whitePrint = false;
        return OptionTaken::Yes;
    }
    const bool rotation = argument == QLatin1String("--rotation");
    if (!rotation && argument != QLatin1String("--jobs"))
        return OptionTaken::No;
    if (i + 1 >= arguments.size()) {
        error = argument + QStringLiteral(" needs a value");
        return OptionTaken::Bad;
    }
    const QString value = arguments[++i];
    bool number = false;
    const int n = value.toInt(&number);
    if (rotation) {
        if (!number || n < 0 || n > 2 || value.size() != 1) {
            error = QStringLiteral("--rotation takes 0, 1 or 2, not ") + value;
            return OptionTaken::Bad;
        }
        options.rotation = n;
    } else {
        if (!number || n < 1 || n > 1024) {
            error = QStringLiteral("--jobs takes a number of processes from 1 to 1024, not ") + value;
            return OptionTaken::Bad;
        }
        options.jobs = n;
    }
    return OptionTaken::Yes;
}

} // namespace tavrin::cli

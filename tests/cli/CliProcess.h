#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tavrin::test {

struct CliRun {
    int exitCode = -1; // -1 when the tool crashed or did not end in time
    QString output, errors;
};

// Runs tavrin-cli as a separate process with its data folder set (and its home, when given, so
// that nothing is installed for the user running the tests).
inline CliRun RunCli(const QStringList &arguments, const QString &dataFolder, const QString &home = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TAVRIN_DATA_DIR", dataFolder);
    if (!home.isEmpty()) {
        environment.insert("HOME", home);
        environment.remove("XDG_DATA_HOME");
    }
    process.setProcessEnvironment(environment);
    process.start(TAVRIN_CLI_PATH, arguments);
    CliRun run;
    if (!process.waitForFinished(180000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace tavrin::test

#include "app/CTavrinApp.h"

#include "app/CTavrinDlg.h"
#include "app/QtPrompter.h"
#include "platform/DataFolders.h"
#include "platform/InstanceLock.h"

#include <QApplication>

#include <cstdio>

namespace tavrin {

namespace {

// The file the command line names: its first argument that is not an option.
QString CommandLineFile(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!arguments[i].isEmpty() && !arguments[i].startsWith(QLatin1Char('-')))
            return arguments[i];
    return {};
}

QStringList ArgumentList(int argc, char **argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

} // namespace

bool CTavrinApp::RefuseFileOnCommandLine(const QStringList &arguments, Prompter &prompter)
{
    if (CommandLineFile(arguments).isEmpty())
        return false;
    prompter.showMessage(QStringLiteral("This file must be opened\nwith Marbix editing software."));
    return true;
}

int CTavrinApp::DisplayStatus()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return 0; // offscreen, vnc and the like need no display connection
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return 1;
    return 0;
}

QString CTavrinApp::StartupFailureText(int status)
{
    return QStringLiteral("GdiplusStartupInput error:  %1\n\nPlease notify Tessal Design Technical Support")
               .arg(status)
        + QStringLiteral("\nsupport@tessaldesign.com");
}

int CTavrinApp::Run(int argc, char **argv)
{
    // Whether another run is going on decides whether old working folders may be removed.
    InstanceLock lock;
    const bool otherInstanceRunning = lock.acquire(DataFolderPath());

    const QStringList arguments = ArgumentList(argc, argv);
    const int displayStatus = DisplayStatus();
    if (displayStatus != 0) {
        // Without a display no message box can be shown: the messages go to the terminal.
        const bool refused = !CommandLineFile(arguments).isEmpty();
        const QString text = refused ? QStringLiteral("This file must be opened\nwith Marbix editing software.")
                                     : StartupFailureText(displayStatus);
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    {
        QtPrompter prompter;
        if (RefuseFileOnCommandLine(arguments, prompter))
            return 0;
    }

    {
        CTavrinDlg window(otherInstanceRunning, &lock);
        window.exec();
    }
    return 0;
}

} // namespace tavrin

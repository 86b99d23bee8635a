#include "app/CTavrinApp.h"

#include "app/CTavrinDlg.h"
#include "app/QtPrompter.h"
#include "platform/DataFolders.h"
#include "platform/InstanceLock.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

namespace tavrin {

namespace {

// Options of the toolkit's own (QGuiApplication, QApplication, the X11 and Wayland plugins),
// written with one or two dashes: these take a value as the next argument or after "=".
const char *const kToolkitOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowicon", "icon", "qwindowtitle", "title", "qwindowscreen", "screen", "display", "name",
    "style", "stylesheet", "session", "dialogs", "visual", "im", "inputstyle",
};

bool IsToolkitOptionWithValue(const QString &argument)
{
    QString name = argument;
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    for (const char *option : kToolkitOptionsWithValue)
        if (name == QLatin1String(option))
            return true;
    return false;
}

// The file the command line names: its first argument that is neither an option nor the value
// of one of the toolkit's options ("-style Fusion", "-platform offscreen").
QString CommandLineFile(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument.isEmpty())
            continue;
        if (argument.startsWith(QLatin1Char('-'))) {
            if (!argument.contains(QLatin1Char('=')) && IsToolkitOptionWithValue(argument))
                ++i; // its value
            continue;
        }
        return argument;
    }
    return {};
}

// The platform the toolkit will start on: "-platform NAME" on the command line, else
// QT_QPA_PLATFORM.
QByteArray PlatformName(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-')))
            continue;
        while (argument.startsWith(QLatin1Char('-')))
            argument.remove(0, 1);
        if (argument.startsWith(QLatin1String("platform=")))
            return argument.mid(9).toLocal8Bit();
        if (argument == QLatin1String("platform") && i + 1 < arguments.size())
            return arguments[i + 1].toLocal8Bit();
    }
    return qgetenv("QT_QPA_PLATFORM");
}

// The toolkit ends the process with an abort when its display cannot be opened. The start-up
// failure is reported instead, as any other failure to start the display connection, and the
// process ends with code 0.
void ReportDisplayFailure(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    std::fprintf(stderr, "%s\n%s\n", qPrintable(message), qPrintable(CTavrinApp::StartupFailureText(1)));
    std::fflush(nullptr);
    ::_exit(0);
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

int CTavrinApp::DisplayStatus(const QStringList &arguments)
{
    const QByteArray platform = PlatformName(arguments);
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
    const int displayStatus = DisplayStatus(arguments);
    if (displayStatus != 0) {
        // Without a display no message box can be shown: the messages go to the terminal.
        const bool refused = !CommandLineFile(arguments).isEmpty();
        const QString text = refused ? QStringLiteral("This file must be opened\nwith Marbix editing software.")
                                     : StartupFailureText(displayStatus);
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return 0;
    }

    // Only the toolkit's start can end in a fatal message here.
    const QtMessageHandler usualHandler = qInstallMessageHandler(ReportDisplayFailure);
    QApplication application(argc, argv);
    qInstallMessageHandler(usualHandler);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    // Where the user's settings (the folders the file dialogs last used) are kept.
    QApplication::setOrganizationName(QStringLiteral("Tessal Design"));
    // Ties the window to the installed desktop entry (its name and icon in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tessaldesign.Tavrin"));
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

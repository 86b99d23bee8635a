#include "platform/HeadlessGui.h"

#include <QGuiApplication>

namespace tavrin {

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tavrin";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

} // namespace tavrin

#include "support/GuiApplication.h"

#include <QGuiApplication>

namespace tavrin::test {

void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tavrin_tests";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

} // namespace tavrin::test

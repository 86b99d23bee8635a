#pragma once

#include <QApplication>

namespace tavrin::test {

// The one QApplication of the widget test program, made on first use and shared by every test
// file (a second application object in the same process is an error).
inline QApplication &App()
{
    if (auto *existing = qobject_cast<QApplication *>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "app_tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace tavrin::test

#pragma once
// One application object for every benchmark in the program: the widgets need a QApplication,
// and whichever benchmark runs first must not make a lesser one.
#include <QApplication>

inline bool ensureApplication()
{
    static int argc = 1;
    static char name[] = "zolm-bench";
    static char *argv[] = {name, nullptr};
    if (!qApp) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
    return qobject_cast<QApplication *>(qApp) != nullptr;
}

// Every suite's main: Qt stays off any display and the settings away from the user's own file,
// also when a test binary is run by hand.
#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#ifdef ZOLM_TEST_GUI
#include <QApplication>
#endif

// fontconfig keeps its caches for the life of the process; that is not a leak of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("ZOLM_SETTINGS"))
        qputenv("ZOLM_SETTINGS", ZOLM_TEST_SETTINGS);
    ::testing::InitGoogleTest(&argc, argv);
#ifdef ZOLM_TEST_GUI
    // The desktop program's windows need a widget application for the whole run.
    QApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}

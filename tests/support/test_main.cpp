#include "scoped_locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#ifdef ZARNIK_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every test runs as on a Russian desktop: the application takes the C library's locale
    // from the environment, as the program does, and so do the programs a test starts.
    qputenv("LC_ALL", kDesktopLocale);
    qputenv("LANG", kDesktopLocale);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    const char *numeric = std::setlocale(LC_NUMERIC, nullptr);
    if (!numeric || std::strcmp(numeric, kDesktopLocale) != 0) {
        std::fprintf(stderr,
                     "The locale %s is not generated on this machine (the C library runs as "
                     "\"%s\"), so these tests could not see what a Russian desktop prints. "
                     "Generate it (scripts/deps does) and run again.\n",
                     kDesktopLocale, numeric ? numeric : "?");
        return 1;
    }
    return RUN_ALL_TESTS();
}

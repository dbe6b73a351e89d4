#include "core/ui/Status.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Window tests need an application object and, as the program's start hands it over, the dial's window;
// the suites run offscreen.
int main(int argc, char** argv)
{
    // ctest names the locale of each run (--locale=de_DE.UTF-8): in force before anything reads it
    const char* locale = nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--locale=", 9) == 0) locale = argv[i] + 9;
    if (locale) setenv("LC_ALL", locale, 1);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv); // sets the C library's locale from the environment, as the program's start does
    InstallDialProgressWindow();
    ::testing::InitGoogleTest(&argc, argv);
    // a locale that is not installed leaves "C", which proves nothing
    if (locale && !GTEST_FLAG_GET(list_tests) && std::strcmp(locale, std::setlocale(LC_NUMERIC, nullptr)) != 0) {
        std::fprintf(stderr, "The locale %s is not in force (not installed?).\n", locale);
        return 1;
    }
    return RUN_ALL_TESTS();
}

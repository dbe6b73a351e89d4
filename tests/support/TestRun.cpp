#include "support/TestRun.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* PrepareTestRun(int argc, char** argv)
{
    // in force before anything reads it
    const char* locale = nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--locale=", 9) == 0) locale = argv[i] + 9;
    if (locale) setenv("LC_ALL", locale, 1);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    return locale;
}

int RunTests(int argc, char** argv, const char* locale)
{
    ::testing::InitGoogleTest(&argc, argv);
    // a locale that is not installed leaves "C", which proves nothing
    if (locale && !GTEST_FLAG_GET(list_tests) && std::strcmp(locale, std::setlocale(LC_NUMERIC, nullptr)) != 0) {
        std::fprintf(stderr, "The locale %s is not in force (not installed?).\n", locale);
        return 1;
    }
    return RUN_ALL_TESTS();
}

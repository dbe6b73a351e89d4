#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    // Each ctest run names its locale (--locale=...); one not installed would leave "C" and prove nothing.
    const char* locale = nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--locale=", 9) == 0) locale = argv[i] + 9;
    if (locale) setenv("LC_ALL", locale, 1);
    // The dialog tests need windows, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (locale && !GTEST_FLAG_GET(list_tests) && std::strcmp(locale, std::setlocale(LC_NUMERIC, nullptr)) != 0) {
        std::fprintf(stderr, "The locale %s is not in force (not installed?).\n", locale);
        return 1;
    }
    return RUN_ALL_TESTS();
}

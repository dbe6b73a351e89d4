#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

// Window tests need an application object; the suites run offscreen.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv); // sets the C library's locale from the environment, as the program's start does
    ::testing::InitGoogleTest(&argc, argv);
    // ctest names the locale of each run; a locale that is not installed leaves "C", which proves nothing.
    const QByteArray wanted = qgetenv("ZUMBREL_TEST_LOCALE");
    if (!wanted.isEmpty() && !GTEST_FLAG_GET(list_tests) && wanted != std::setlocale(LC_NUMERIC, nullptr)) {
        std::fprintf(stderr, "The locale %s is not in force (not installed?).\n", wanted.constData());
        return 1;
    }
    return RUN_ALL_TESTS();
}

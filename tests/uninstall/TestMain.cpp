#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv)
{
    // The dialog tests need windows, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Each ctest run names its locale: one not installed would leave "C" and prove nothing.
    const QByteArray locale = qgetenv("ZUMBREL_TEST_LOCALE");
    if (!locale.isEmpty() && !GTEST_FLAG_GET(list_tests) && locale != std::setlocale(LC_NUMERIC, nullptr)) {
        std::fprintf(stderr, "The locale %s is not in force (not installed?).\n", locale.constData());
        return 1;
    }
    return RUN_ALL_TESTS();
}

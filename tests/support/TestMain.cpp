#include "support/TestRun.h"

#include <QGuiApplication>

// The logic's tests run without widgets; Gui serves the images, fonts and cursor some of it uses.
int main(int argc, char** argv)
{
    const char* locale = PrepareTestRun(argc, argv);
    QGuiApplication app(argc, argv); // sets the C library's locale from the environment, as the program's start does
    return RunTests(argc, argv, locale);
}

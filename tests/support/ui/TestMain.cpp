#include "core/ui/Status.h"
#include "support/TestRun.h"

#include <QApplication>

// Window tests need the widget application and, as the program's start hands it over, the dial's window.
int main(int argc, char** argv)
{
    const char* locale = PrepareTestRun(argc, argv);
    QApplication app(argc, argv); // sets the C library's locale from the environment, as the program's start does
    InstallDialProgressWindow();
    return RunTests(argc, argv, locale);
}

#include "core/ui/WidgetDialogs.h"
#include "recording/ui/Form1.h"
#include "recording/Prelaunch.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zumbrel");
    WidgetDialogs dialogs;
    SetDefaultDialogHandler(&dialogs);
    InstanceLock lock;
    if (!Prelaunch_Form_Load(lock)) return 0;
    return app.exec();
}

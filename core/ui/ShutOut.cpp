#include "core/ui/ShutOut.h"

#include <QAction>
#include <QWidget>

namespace {
template <typename Control> void follow(Control* control, Wait kind)
{
    control->setEnabled(!WaitRunning(kind));
    QObject::connect(&Waits(), &WaitNotifier::changed, control, [control, kind](Wait changed, bool running) {
        if (changed == kind) control->setEnabled(!running);
    });
}
} // namespace

void ShutOutDuring(QWidget* control, Wait kind) { follow(control, kind); }
void ShutOutDuring(QAction* action, Wait kind) { follow(action, kind); }

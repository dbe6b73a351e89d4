#include "core/ui/TrayMenu.h"

#include <QMenu>

// Skeleton: the items and commands follow.
QStringList BuildTrayMenu(QMenu& menu, const TrayCommands&)
{
    menu.clear();
    return {};
}
void RunTrayCommand(int, const QStringList&, TrayCommands&) {}
void ShowTrayMenu(TrayCommands&) {}

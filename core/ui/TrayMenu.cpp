#include "core/ui/TrayMenu.h"

#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ui/ShutOut.h"
#include "core/ui/Status.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace {
QAction* addItem(QMenu& menu, const QString& text, int id)
{
    QAction* action = menu.addAction(text);
    action->setData(id);
    return action;
}

void addSeparator(QMenu& menu, int id) { menu.addSeparator()->setData(id); }

// A phone-book name is shown as it is: "&" would otherwise mark a mnemonic letter and vanish.
QString entryText(const QString& name)
{
    return QStringLiteral("\"") + QString(name).replace('&', QStringLiteral("&&")) + QStringLiteral("\" wählen");
}
} // namespace

QStringList BuildTrayMenu(QMenu& menu, const TrayCommands& commands)
{
    menu.clear();
    addItem(menu, QStringLiteral("&Beenden"), TRAY_QUIT);
    addSeparator(menu, TRAY_SEPARATOR1);

    if (G_NoMonitoringAccess) {
        addItem(menu, QStringLiteral("Über&wachung"), TRAY_MONITORING)->setEnabled(false);
    } else if (G_MonitoringOn) {
        QAction* monitoring = addItem(menu, QStringLiteral("Über&wachung"), TRAY_MONITORING);
        monitoring->setCheckable(true);
        monitoring->setChecked(true);
    } else {
        addItem(menu, QStringLiteral("Überwachung"), TRAY_MONITORING);
    }

    QStringList names;
    if (commands.counterPageOpen()) {
        addItem(menu, QStringLiteral("Aufzeichnung &stoppen"), TRAY_RECORD);
        addSeparator(menu, TRAY_SEPARATOR2);
        addItem(menu, QStringLiteral("Verbindung trennen"), TRAY_HANGUP);
        return names;
    }
    addItem(menu, QStringLiteral("Aufzeichnung &starten"), TRAY_RECORD);
    QList<RasEntryInfo> entries;
    if (EnumRasEntries(entries, QString()) > 0) {
        addSeparator(menu, TRAY_SEPARATOR2);
        for (int i = 0; i < entries.size(); ++i) {
            names << entries[i].szEntryName;
            ShutOutDuring(addItem(menu, entryText(entries[i].szEntryName), TRAY_ENTRY0 + i), Wait::Dial);
        }
    }
    return names;
}

void RunTrayCommand(int id, const QStringList& entries, TrayCommands& commands)
{
    switch (id) {
    case 0: return;
    case TRAY_RECORD:
        if (!G_Recording) {
            G_DetectSource = 0;
            commands.startConnection();
        } else if (commands.counterPageOpen() && commands.stopButtonEnabled()) {
            commands.stopRecording();
        }
        return;
    case TRAY_QUIT: commands.closeMainWindow(); return;
    case TRAY_MONITORING:
        G_MonitoringOn = !G_MonitoringOn;
        commands.storeMonitoring(G_MonitoringOn);
        return;
    case TRAY_HANGUP: {
        QList<RasConnInfo> conns;
        if (EnumRasConnections(conns) > 0) HangUpConnection(conns.last().hrasconn);
        return;
    }
    default: break;
    }

    const int index = id - TRAY_ENTRY0;
    if (index < 0 || index >= entries.size() || DialUnderWay()) return;
    if (commands.isBudgetExceeded() && G_NoDialOverBudget) {
        MsgBox(QStringLiteral("Das Einwählen wurde Ihnen in den Benutzereinstellungen verboten."),
               vbOKOnly + vbInformation);
        return;
    }
    const QString name = entries[index];
    if (name.isEmpty()) return;
    G_DialedHere = true;
    // Nothing dialled (a refused password prompt, a dial that failed at once): no recording of ours
    // follows and there is no progress to show.
    if (DialEntry(QString(), name) == 0) {
        G_DialedHere = false;
        return;
    }
    ShowStatusWindow(false);
}

void ShowTrayMenu(TrayCommands& commands)
{
    QMenu menu;
    const QStringList entries = BuildTrayMenu(menu, commands);
    const QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen) return;
    RunTrayCommand(chosen->data().toInt(), entries, commands);
}

#include "recording/Prelaunch.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "recording/RunningRecord.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

void SetCurrency(double index)
{
    static const char* symbols[] = {"€", "sFr", "$", "£", "F", "trL", "dkK", "noK", "plZ", "seK", "zaR", "chK"};
    G_Currency = QStringLiteral("€");
    for (int i = 1; i <= 11; ++i)
        if (index == i) G_Currency = QString::fromUtf8(symbols[i]);
}

void LoadOptions()
{
    const QString config = ProgramPath("Config");
    if (FindFileNoCase(config, "Options.cfg").isEmpty()) {
        if (G_Currency.isEmpty()) G_Currency = QStringLiteral("€");
        return;
    }
    const LineReader f(config + "/" + FindFileNoCase(config, "Options.cfg"));
    SetCurrency(f.number(0));
    if (f.number(1) == 1) G_SameProgramsForAll = true;
    if (f.number(2) == 1) G_TrayWhenMinimized = true;
    if (f.number(3) == 1) G_StartMinimized = true;
    // line 5, start with the desktop session, is the options page's business alone
    if (f.number(5) == 1) G_DialerProtection = true;
    if (G_Currency.isEmpty()) G_Currency = QStringLiteral("€");
}

InstanceLock::InstanceLock(const QString& lockFile) : m_lock(lockFile) { m_lock.setStaleLockTime(0); }

QString InstanceLock::defaultPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QString("/zumbrel-%1.lock").arg(getuid());
}

bool Prelaunch_Start(InstanceLock& lock)
{
    if (!lock.tryLock()) {
        MsgBox("Zumbrel wurde bereits gestartet.", vbOKOnly + vbInformation, APP_TITLE);
        return false;
    }
    // Only the copy that holds the lock may take over the running file: another copy's recording may be live.
    // Before the main window, whose budgets and limits walk the records.
    RecoverRunningRecord();
    // The original registered five outside components here; Qt's own widgets take their place.
    LoadOptions();
    return true;
}

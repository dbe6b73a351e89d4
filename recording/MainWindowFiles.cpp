#include "recording/MainWindowFiles.h"

#include "core/Clock.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "users/BudgetFiles.h"
#include "users/UserRecord.h"

#include <QFileInfo>

namespace {
// The settings files are found without regard to case, as the original's directory search did.
QString configFile(const QString& name)
{
    const QString folder = ProgramPath("Config");
    const QString found = FindFileNoCase(folder, name);
    return found.isEmpty() ? QString() : folder + "/" + found;
}
} // namespace

QString StatusDateText()
{
    const QDateTime now = Now();
    return QString("%1. %2 %3 - %4")
        .arg(now.date().day())
        .arg(GermanMonthName(now.date().month()))
        .arg(now.date().year())
        .arg(now.time().toString("HH:mm:ss"));
}

void CreateSupervisorFiles()
{
    // Only the missing one of the two is written: an edited record or budget stays as it is.
    const QString record = UserRecordPath(SUPERVISOR);
    if (!QFileInfo::exists(record)) SaveUser(SUPERVISOR, UserRecord());
    const QString budget = UserBudgetPath(SUPERVISOR);
    if (!QFileInfo::exists(budget)) WriteBudgetRecord(budget, BudgetRecord::createdDefaults());
}

void SplitIgnoredIPs(const QString& line) { G_IgnoredIPs = line; }

void ReadConCheckConfig()
{
    G_WatchWininet = true;
    G_CheckIntervalSec = 2;
    const QString settings = configFile("ConCheck.cfg");
    if (!settings.isEmpty()) {
        const LineReader f(settings);
        G_WatchIP = f.number(0) == 1;
        G_WatchWininet = f.number(1) == 1;
        G_WatchLan = f.number(2) == 1;
        G_WatchTapi = f.number(3) == 1;
        const double interval = f.number(4);
        if (interval >= 1 && interval <= 10) G_CheckIntervalSec = qint32(interval);
    }
    const QString ignored = configFile("IgnoredIPs.cfg");
    if (!ignored.isEmpty()) SplitIgnoredIPs(LineReader(ignored).line(0));
}

quint8 GetLogonLink()
{
    const QString file = configFile("Users.cfg");
    if (file.isEmpty()) return 0;
    const LineReader f(file);
    if (f.count() == 0) return 0;
    // a value a byte cannot hold (its writer writes 0 or 1) is no link
    const double v = f.number(0);
    return v >= 0 && v < 255.5 ? quint8(CInt(v)) : 0;
}

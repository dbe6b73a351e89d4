#include "recording/UserRights.h"

#include "core/FileList.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "recording/MainWindowFiles.h"
#include "users/UserRecord.h"

#include <QFileInfo>

namespace {
// The first nine lines of the record; false when it is missing, unreadable or shorter.
bool readPasswordLine(const QString& user, QString& password)
{
    const QString path = UserRecordPath(user);
    if (path.isEmpty()) return false;
    bool ok = false;
    const QStringList lines = ReadTextLines(path, &ok);
    if (!ok || lines.size() < 9) return false;
    password = lines[8];
    return true;
}

QString overviewUser()
{
    const QString folder = ProgramPath("Config");
    const QString found = FindFileNoCase(folder, "Overview.cfg");
    if (found.isEmpty()) return SUPERVISOR;
    return LineReader(folder + "/" + found).line(1);
}
} // namespace

bool ReadUserPreventions(const QString& user, NavigationLocks& locks)
{
    if (user.isEmpty()) return false;
    const QString path = UserRecordPath(user);
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    const QStringList stored = ReadTextLines(path);
    auto value = [&](int line) { return line <= stored.size() ? Val(DecryptString(stored[line - 1])) : 0.0; };
    auto flag = [&](int line) { return value(line) == 1; };

    locks.userSettings = flag(1);
    locks.monitoringSettings = flag(2);
    G_NoMonitoringAccess = locks.monitoringSettings;
    locks.budgetSettings = flag(3);
    G_NoListEdit = flag(4);
    G_NoDialOverBudget = flag(5);
    locks.listsAndAnalysis = flag(6);
    if (locks.listsAndAnalysis) G_NoListEdit = true;
    G_DayLimitOn = flag(7);
    if (G_DayLimitOn) G_DayLimitMinutes = CInt(value(8));
    G_MonthLimitOn = flag(10);
    if (G_MonthLimitOn) G_MonthLimitMinutes = CInt(value(11));
    return true;
}

bool UserCannotQuit() { return G_NoListEdit || G_DayLimitOn || G_MonthLimitOn || G_NoDialOverBudget; }

StartUser ChooseStartUser(const QString& name)
{
    QString user = name.isEmpty() ? overviewUser() : name;
    if (GetLogonLink() == 1) return {StartUser::NoLogin, user};

    QString password;
    if (!readPasswordLine(user, password)) {
        // A user that cannot be read gives way to Supervisor, whose password is asked as any other's.
        if (user.compare(SUPERVISOR, Qt::CaseInsensitive) != 0 && readPasswordLine(SUPERVISOR, password)) {
            user = SUPERVISOR;
        } else if (!name.isEmpty()) {
            return {StartUser::Nothing, user};
        } else {
            const QStringList users = GetUserNames();
            if (users.isEmpty()) return {StartUser::NoUsers, QString()};
            return ChooseStartUser(users.first());
        }
    }
    if (password.isEmpty()) return {StartUser::NoLogin, user};
    return {StartUser::Login, user};
}

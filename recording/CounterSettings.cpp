#include "recording/CounterSettings.h"

#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QFileInfo>

int LoadSwitchFile(const QString& name)
{
    const LineReader f(ProgramPath("Config/" + name));
    if (!f.exists() || f.count() == 0) return 0;
    const double v = f.number(0);
    return v > 2147483647.0 || v < -2147483648.0 ? 0 : CInt(v);
}

void SaveSwitchFile(const QString& name, int value) { WriteTextLines(ProgramPath("Config/" + name), {Str(value)}); }

void SaveMonitoringConfig(int value) { SaveSwitchFile("Monitoring.cfg", value); }

bool LoadAutoupdateConfig()
{
    const LineReader autoupdate(ProgramPath("Config/Autoupdate.cfg"));
    if (!autoupdate.exists()) return false;
    if (autoupdate.number(0) != 1) return false;
    // the interval is held in a byte: a value it cannot hold is passed over and counts as the minimum
    const double raw = autoupdate.number(1);
    int interval = raw >= 0 && raw < 255.5 ? CInt(raw) : 0;
    if (interval < 7) interval = 7;

    const LineReader update(ProgramPath("Config/Update.cfg"));
    if (!update.exists()) return true;
    const QString dateLine = update.line(1);
    QDate last = Today();
    if (dateLine.size() > 7) {
        last = ParseShortDate(dateLine);
        if (!last.isValid()) return true;
    }
    const qint64 days = last.daysTo(Today());
    return !(days >= 0 && days < interval);
}

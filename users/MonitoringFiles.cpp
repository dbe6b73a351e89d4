#include "users/MonitoringFiles.h"

#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <cmath>

namespace {
bool writeConCheck(const QStringList& lines)
{
    return WriteTextLines(ProgramPath("Config/ConCheck.cfg"), lines);
}
} // namespace

std::optional<ConCheckValues> ReadConCheckValues()
{
    const LineReader f(ProgramPath(QStringLiteral("Config/ConCheck.cfg")));
    if (!f.exists()) return std::nullopt;
    ConCheckValues v;
    v.ip = CInt(f.number(0));
    v.wininet = CInt(f.number(1));
    v.lan = CInt(f.number(2));
    v.tapi = CInt(f.number(3));
    const double interval = f.number(4);
    v.intervalIndex = interval >= 1 && interval <= 10 ? int(std::floor(interval - 1)) : -1;
    return v;
}

bool WriteConCheckValues(const ConCheckValues& v, const QString& intervalText)
{
    return writeConCheck({Str(v.ip), Str(v.wininet), Str(v.lan), Str(v.tapi), intervalText});
}

bool WriteConCheckReset()
{
    return writeConCheck({Str(0), Str(0), Str(0), Str(0), Str(2)});
}

std::optional<QString> ReadIgnoredIPsLine()
{
    const LineReader f(ProgramPath(QStringLiteral("Config/IgnoredIPs.cfg")));
    if (!f.exists()) return std::nullopt;
    return f.line(0);
}

bool WriteIgnoredIPsLine(const QString& line)
{
    return WriteTextLines(ProgramPath(QStringLiteral("Config/IgnoredIPs.cfg")), {line});
}

#include "users/ProgramOptions.h"

#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/Win1252.h"

#include <cmath>

QString ProgramOptionsPath() { return ProgramPath(QStringLiteral("Config/Options.cfg")); }

StoredOptions ReadProgramOptions()
{
    StoredOptions o;
    const QStringList lines = ReadTextLines(ProgramOptionsPath(), &o.exists);
    for (int i = 0; i < PROGRAM_OPTION_LINES && i < lines.size(); ++i) {
        const double value = Val(lines[i]);
        if (value == std::floor(value) && std::fabs(value) < 32768) o.lines[i] = int(value);
    }
    return o;
}

bool WriteProgramOptions(const std::array<int, PROGRAM_OPTION_LINES>& values)
{
    QStringList lines;
    for (int v : values) lines << Str(v);
    return WriteTextLines(ProgramOptionsPath(), lines);
}

QString AllowListPath() { return ProgramPath(QStringLiteral("DialUp/Deny.sec")); }

QString ProgramListPath(const QString& entry)
{
    if (entry.isEmpty()) return ProgramPath(QStringLiteral("DialUp/General.prg"));
    return IsSafeName(entry) ? ProgramPath("DialUp/" + entry + ".prg") : QString();
}

QList<ListPair> ReadListPairs(const QString& path)
{
    QList<ListPair> pairs;
    if (path.isEmpty()) return pairs;
    const QStringList lines = ReadTextLines(path);
    for (int i = 0; i < lines.size(); i += 2)
        pairs.append({lines[i], i + 1 < lines.size() && Val(lines[i + 1]) == 1});
    return pairs;
}

bool WriteListPairs(const QString& path, const QList<ListPair>& pairs)
{
    QStringList lines;
    for (const ListPair& p : pairs) lines << p.text << Str(p.ticked ? 1 : 0);
    return WriteTextLines(path, lines);
}

bool ListPairsStorable(const QList<ListPair>& pairs)
{
    for (const ListPair& p : pairs)
        if (!Win1252::encodeStrict(p.text)) return false;
    return true;
}

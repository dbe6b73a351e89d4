#include "tariffs/UpdateCheck.h"

#include "core/Clock.h"
#include "core/InternetFunctions.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/VB.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace {
constexpr qint32 MAX_TAKEN = std::numeric_limits<qint32>::max() - 1;

// A number from a file as an update number: whole, not negative, and with room for its successor.
qint32 ToUpdateNumber(double value)
{
    const qint64 whole = CLng(value);
    return qint32(qBound(qint64(0), whole, qint64(MAX_TAKEN)));
}

// The program revision a line gives from its fifth character on.
double LatestRevision(const QString& firstLine) { return Val(firstLine.mid(4)); }
} // namespace

QString SectionLine(qint32 number)
{
    return QLatin1Char('[') + QString::number(number).rightJustified(4, QLatin1Char('0')) + QLatin1Char(']');
}

bool IsUpdateFileName(const QString& name)
{
    return !name.isEmpty() && IsSafeName(name) && IsValidFileName(name) &&
           name.endsWith(QLatin1String(".atl"), Qt::CaseInsensitive);
}

UpdateListContent ParseUpdateList(const QStringList& lines, qint32 lastTaken)
{
    UpdateListContent list;
    list.firstLine = lines.value(0);
    list.valid = list.firstLine.startsWith(QLatin1String("*U*"));
    if (!list.valid) return list;
    list.updateNumber = qMin(lastTaken, MAX_TAKEN) + 1;
    const qsizetype section = lines.indexOf(SectionLine(list.updateNumber), 1);
    if (section < 0) return list;
    for (qsizetype i = section + 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(QLatin1String("<tel"))) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (bar < 0) continue;
            const QString name = line.mid(bar + 1).chopped(line.size() > bar + 1 ? 1 : 0);
            if (IsUpdateFileName(name)) list.entries.append({line.mid(1, bar - 1), name});
        } else if (line.startsWith(QLatin1Char('['))) {
            list.updateNumber = ToUpdateNumber(Val(line.mid(1)));
        }
    }
    return list;
}

QString ServersFilePath()
{
    const QString own = ProgramPath(SERVERS_FILE);
    return QFileInfo::exists(own) ? own : InstallationPath(SERVERS_FILE);
}

bool IsNewerRevision(const QString& listFirstLine)
{
    // read where it ships: a copy in the data folder would outlive an upgrade
    const LineReader revision(InstallationPath(REVISION_FILE));
    if (!revision.exists() || revision.count() == 0) return false;
    return revision.number(0) < LatestRevision(listFirstLine);
}

qint32 LoadUpdateState()
{
    const LineReader state(ProgramPath(UPDATE_STATE_FILE));
    if (!state.exists() || state.count() == 0) return 0;
    return ToUpdateNumber(state.number(0));
}

bool SaveUpdateState(qint32 updateNumber)
{
    return WriteTextLines(ProgramPath(UPDATE_STATE_FILE), {Str(updateNumber), ShortDate(Today())});
}

bool ConvertLineEnds(const QString& file)
{
    QByteArray in;
    if (ReadFileBytes(file, &in, DOWNLOAD_FILE_CAP) != FileRead::Ok) return false;
    QByteArray out;
    out.reserve(in.size() + in.size() / 8 + 2);
    qsizetype start = 0;
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c != '\r' && c != '\n') continue;
        out += in.mid(start, i - start);
        out += "\r\n";
        if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < in.size()) out += in.mid(start) + "\r\n";
    if (out == in) return true;
    return WriteFileBytes(file, out);
}

UpdateWalk WalkUpdateServers(qint32 updateNumber, const std::function<void(const QString&)>& revision)
{
    UpdateWalk walk;
    walk.updateNumber = updateNumber;
    FileRead state = FileRead::Missing;
    const QStringList servers = ReadTextLines(ServersFilePath(), &state);
    walk.serversFound = state != FileRead::Missing;
    const QString listFile = ProgramPath(UPDATE_LIST_FILE);
    for (const QString& server : servers) {
        if (!DownloadFile(server + QStringLiteral("/update.txt"), listFile)) continue;
        walk.serverReached = true;
        ConvertLineEnds(listFile);
        const UpdateListContent list = ParseUpdateList(ReadTextLines(listFile, &state, DOWNLOAD_FILE_CAP),
                                                       LoadUpdateState());
        if (!list.valid) continue;
        if (revision) revision(list.firstLine);
        walk.updateNumber = list.updateNumber;
        for (const UpdateEntry& entry : list.entries) {
            walk.urls << server + QLatin1Char('/') + entry.path;
            walk.fileNames << entry.fileName;
        }
        if (!walk.urls.isEmpty()) break;
    }
    QFile::remove(listFile);
    return walk;
}

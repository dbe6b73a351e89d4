#include "recording/RunningRecord.h"

#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString runningPath() { return ProgramPath(RUNNING_RECORD_FILE); }

// The record's file name from its lines "S<DD.MM.YYYY>" and the start time; empty when the file holds no
// record of a started recording.
QString recordNameOf(const RecordLines& record)
{
    if (record.count() != 11) return {};
    const QString date = record.line(1);
    if (date.size() != 11 || !date.startsWith('S') || !QDate::fromString(date.mid(1), "dd.MM.yyyy").isValid())
        return {};
    return RecordFileNameOf(date.mid(1, 2) + date.mid(4, 2) + date.mid(7, 4), record.line(2));
}

// Renamed to the first free "<name>.damaged", "<name>.damaged.2", ...: an earlier damaged file is kept.
bool setAside(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    const QString base = info.fileName() + ".damaged";
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? base : base + "." + QString::number(n);
        if (FindFileNoCase(folder, name).isEmpty()) return QFile::rename(path, folder + "/" + name);
    }
    return false;
}
} // namespace

bool WriteRunningRecord(const ConnectionDisplay& display)
{
    StoredRecord record;
    return FormRecord(display, record) == 0 &&
           WriteTextLines(runningPath(), record.lines, FileAccess::Default, FileSync::Durable);
}

void RemoveRunningRecord() { QFile::remove(runningPath()); }

RunningRecovery RecoverRunningRecord()
{
    const QString path = runningPath();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return RunningRecovery::None;
    QByteArray bytes;
    RecordLines record;
    QString name;
    if (ReadFileBytes(path, &bytes) == FileRead::Ok && ReadRecordFile(path, record)) name = recordNameOf(record);
    if (name.isEmpty()) return setAside(path) ? RunningRecovery::SetAside : RunningRecovery::Kept;

    const QString folder = RecordFolderPath();
    if (!QDir().mkpath(folder)) return RunningRecovery::Kept;
    // Only a crash between the stop's save and its removal of this file leaves both; the stored one is whole.
    if (!FindFileNoCase(folder, name).isEmpty()) {
        QFile::remove(path);
        return RunningRecovery::Dropped;
    }
    if (!WriteFileBytes(folder + "/" + name, bytes, FileAccess::Default, FileSync::Durable))
        return RunningRecovery::Kept;
    QFile::remove(path);
    return RunningRecovery::Stored;
}

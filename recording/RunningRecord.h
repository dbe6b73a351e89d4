#pragma once
// The record of the recording that runs, stored about once a minute as Config/Recording.run, so that a crash,
// a kill or a power cut loses at most the last minute of a connection. The file holds the record's own bytes;
// the record's name comes from its start date and time (lines 1 and 2). The record walks read Verbindungen
// only, so the running file is never counted beside its record.
#include "recording/ConnectionRecord.h"

#include <QList>

inline const QString RUNNING_RECORD_FILE = QStringLiteral("Config/Recording.run");

// Stores the record the display would give if the recording stopped now. A running file of another recording
// (one the start could not store, or one a failed stop left) is the only copy of that connection: it is first
// moved to the first free "Recording.run.<n>", and nothing is written when it cannot be. False when nothing
// was stored; nothing is said, the next minute tries again.
bool WriteRunningRecord(const ConnectionDisplay& display);
// After a stop has stored the record.
void RemoveRunningRecord();

enum class RunningRecovery {
    Stored,   // it became its record in Verbindungen (in place of an empty file of that name)
    Dropped,  // a whole record of that name exists already: the stop had stored it, the running file was left over
    SetAside, // damaged: renamed to "<its name>.damaged" (or .damaged.<n>, the first free name)
    Kept,     // it cannot be stored now (a folder not writable; something else than a record or an empty file
              // holds the record's name): left in Config, Recording.run under the first free "Recording.run.<n>"
};
// At the start, before anything reads the records: each running file that a crash or a failed stop left,
// Recording.run and every Recording.run.<n>, becomes its record. Gives what became of each, in the order
// handled (none: no running file). Never stops the start.
QList<RunningRecovery> RecoverRunningRecord();

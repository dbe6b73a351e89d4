#pragma once
// The record of the recording that runs, stored about once a minute as Config/Recording.run, so that a crash,
// a kill or a power cut loses at most the last minute of a connection. The file holds the record's own bytes;
// the record's name comes from its start date and time (lines 1 and 2). The record walks read Verbindungen
// only, so the running file is never counted beside its record.
#include "recording/ConnectionRecord.h"

inline const QString RUNNING_RECORD_FILE = QStringLiteral("Config/Recording.run");

// Stores the record the display would give if the recording stopped now. False when it could not; nothing
// is said, the next minute tries again.
bool WriteRunningRecord(const ConnectionDisplay& display);
// After a stop has stored the record.
void RemoveRunningRecord();

enum class RunningRecovery {
    None,     // no running file
    Stored,   // it became its record in Verbindungen
    Dropped,  // a record of that name exists already: the stop had stored it, the running file was left over
    SetAside, // damaged: renamed to Config/Recording.run.damaged (or .damaged.<n>, the first free name)
    Kept,     // it cannot be handled now (a folder not writable): left in place for the next start
};
// At the start, before anything reads the records: the running file of a recording that a crash ended
// becomes its record. Never stops the start.
RunningRecovery RecoverRunningRecord();

#pragma once
// Phone-book connections: listing, dialling with the stored or the system's credentials, hang-up.
#include "core/platform/PhoneBook.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Fills `conns` with the active connections (the most recent last) and returns their number; with
// none the list is left as it was.
int EnumRasConnections(QList<RasConnInfo>& conns);
// The same for the entries of `phonebook` (empty = the default one).
int EnumRasEntries(QList<RasEntryInfo>& entries, const QString& phonebook);
// The dial data the system keeps for the entry; passwordSaved tells whether it holds the password.
quint32 GetEntryDialParams(RasDialInfo& info, const QString& phonebook, const QString& entryName,
                           SavedPassword& passwordSaved);
// A line of DialUp/DialUp.cfg as the runtime's Boolean conversion reads it: "Wahr"/"Falsch" or
// "True"/"False" in any case, or a number (0 = false); nothing for anything else.
std::optional<bool> ReadBooleanLine(const QString& line);
// Dials the entry with the data chosen in DialUp/DialUp.cfg and reports progress to the Status window.
// Returns the connection handle, or 0 when nothing is being dialled.
quint32 DialEntry(const QString& phonebook, const QString& entryName);
// A dial is asking for its password, waiting for its start or showing its progress window: another one is
// refused until that window has closed.
bool DialUnderWay();
// Hangs the connection up and waits, within a bound and without freezing the window, until it is no
// longer listed. Sets G_hRasConn to 0. False when the connection is still up: that is said once per
// connection.
bool HangUpConnection(quint32 hRasConn);
quint32 GetRasConnectStatus(quint32 hRasConn, RasStatusInfo& status);

// The bounds of the waits in milliseconds (tests shorten them); each returns the previous value.
int SetHangUpWaitBound(int ms);   // default 5000
int SetDialStartWait(int ms);     // default 400: how long a dial that fails at once is watched for

// The dial progress window belongs to the windows, which hand over how to load and unload it at start;
// until then (and in the logic's own tests) a dial shows none.
struct DialProgressWindow {
    std::function<void()> load;   // hidden, so that it sees the dial's first events
    std::function<void()> unload; // the dial did not start, or the program ends
};
// Empty functions: no window. Returns what was handed over before.
DialProgressWindow SetDialProgressWindow(DialProgressWindow window);
// What the windows handed over; nothing without them.
void LoadDialProgressWindow();
void UnloadDialProgressWindow();

#pragma once
// Phone-book connections: listing, dialling with the stored or the system's credentials, hang-up.
#include "core/platform/PhoneBook.h"

#include <QList>
#include <QString>

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

// Provided by the dial progress window (core/ui/Status): load it hidden so it sees the dial's first
// events, and unload it when the dial did not start.
void LoadDialProgressWindow();
void UnloadDialProgressWindow();

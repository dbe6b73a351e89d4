#pragma once
// What the main window reads and writes at start-up: the default user, the detection settings and
// the logon link, and the date and time text of its status line.
#include <QString>

// "17. Januar 2001 - 12:00:00": the date, then the time in the long form.
QString StatusDateText();

// Benutzer/Supervisor.usr and Supervisor.bdg, each written only when it is missing.
void CreateSupervisorFiles();

// Config/ConCheck.cfg and Config/IgnoredIPs.cfg into the detection switches, the interval and the
// ignore line; a missing file keeps the defaults (connected-state method on, 2 seconds).
void ReadConCheckConfig();
// G_IgnoredIPs keeps the line as typed; IgnoredIPPatterns splits it where it is used.
void SplitIgnoredIPs(const QString& line);

// Config/Users.cfg: 1 when the user choice follows the desktop logon; 0 when missing or empty.
quint8 GetLogonLink();

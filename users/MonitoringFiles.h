#pragma once
// The monitoring page's files: Config/ConCheck.cfg (the four detection methods as " 1"/" 0" in the
// order IP, connected state, LAN and proxy, telephony, then the interval as the list shows it) and
// Config/IgnoredIPs.cfg (one line of address patterns).
#include <QString>
#include <optional>

struct ConCheckValues {
    int ip = 0, wininet = 1, lan = 0, tapi = 0;
    int intervalIndex = -1; // the list position of the interval; -1 for none from 1 to 10
};
// Nothing when the file is missing.
std::optional<ConCheckValues> ReadConCheckValues();
bool WriteConCheckValues(const ConCheckValues& values, const QString& intervalText);
// The stored values of a monitoring reset: every method off, 2 seconds.
bool WriteConCheckReset();

std::optional<QString> ReadIgnoredIPsLine();
bool WriteIgnoredIPsLine(const QString& line);

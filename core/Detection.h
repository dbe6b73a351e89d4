#pragma once
// The three ways of noticing a connection: the system's connected state, the telephony line monitor
// and the host's IP addresses, with the set-up and tear-down of the latter two.
#include <QString>
#include <QStringList>
#include <QtGlobal>

inline const QString TAPI_INIT_ERROR_TEXT = QStringLiteral(
    "Fehler beim Initialisieren der TAPI Überwachung. Bitte deaktivieren Sie die TAPI Überwachung in den "
    "Überwachungseinstellungen.");
inline const QString IP_WATCH_ERROR_TEXT = QStringLiteral(
    "Die IP Überwachung ist nicht ausführbar! Bitte deaktivieren Sie diese in den Überwachungseinstellungen.");

// True when an enabled connected-state method (G_WatchWininet, G_WatchLan) sees a connection.
bool CheckWininetConnection();

// Starts the line monitor on device 0; on failure switches G_WatchTapi off and says so once.
void InitTapiMonitoring();
void ShutdownTapiMonitoring();
// The line monitor's call-state events: keeps G_TapiCallConnected.
void LineCallback(quint32 hDevice, quint32 dwMessage, quint32 dwCallbackInstance, quint32 dwParam1, quint32 dwParam2,
                  quint32 dwParam3);

// Starts the address watch; on failure switches G_WatchIP off and says so once.
void InitWinsock();
void CleanupWinsock();
// True when the host has an address that no ignore pattern matches.
bool HasInternetIP();
bool CheckIPConnection();

// The patterns of the ignore line, split at "," and trimmed.
QStringList IgnoredIPPatterns(const QString& line);
// Whether a dotted address matches one of the patterns of G_IgnoredIPs. Patterns are compared octet by
// octet; an octet starting with "*" matches any octet; a pattern that is not four octets is passed over.
bool IsIgnoredIP(const QString& address);
bool IsIgnoredIP(const QString& address, const QStringList& patterns);

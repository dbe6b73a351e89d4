#pragma once
// Program-wide state, shared by every window and module.
#include <QString>
#include <QStringList>
#include <QtGlobal>

inline const QString APP_TITLE = QStringLiteral("Zumbrel");

// Start-up options (Config/Options.cfg)
extern QString G_Currency;
extern bool G_SameProgramsForAll;
extern bool G_TrayWhenMinimized;
extern bool G_StartMinimized;
extern bool G_DialerProtection;

// Active user, current tariff and the user's restrictions
extern QString G_ActiveUser;
extern QString G_Tariff; // tariff file name with its extension
extern bool G_NoMonitoringAccess;
extern bool G_NoListEdit;
extern bool G_NoDialOverBudget;
extern bool G_DayLimitOn;
extern qint32 G_DayLimitMinutes;
extern bool G_MonthLimitOn;
extern qint32 G_MonthLimitMinutes;
extern qint32 G_DayRestSeconds;
extern qint32 G_MonthRestSeconds;

// Detection switches (Config/Monitoring.cfg, Config/ConCheck.cfg, Config/IgnoredIPs.cfg)
extern bool G_MonitoringOn;
extern bool G_WatchWininet;
extern bool G_WatchLan;
extern bool G_WatchTapi;
extern bool G_WatchIP;
extern qint32 G_CheckIntervalSec;
extern QString G_IgnoredIPs; // the one line of comma-separated patterns

// System
extern QString G_WinVer;
extern bool G_TapiCallConnected;
extern quint32 G_hRasConn; // the connection the program dialled itself, 0 = none

// The running recording
extern bool G_Recording;
extern qint32 G_DetectSource; // 0 by hand, 1 connected state, 2 telephony line, 3 IP address
extern bool G_DialedHere;
extern QString G_FreeAllowanceLeft;
extern bool G_Holiday;
extern bool G_ChannelBundling;
extern double G_BytesIn;
extern double G_BytesOut;
extern double G_BytesTotal;
extern float G_RateIn;
extern float G_RateOut;
extern float G_RateTotal;

// The open-file dialog's description: the caller fills filter, folder and title; the dialog keeps its
// last answer in `file`, which it shows again next time.
struct OpenFileName {
    QStringList filter; // description, pattern, description, pattern, ...
    int filterIndex = 0; // the type chosen first, 0 for the first pair; set with the filter
    QString initialDir;
    QString title;
    QString file;
};
extern OpenFileName G_OFN;

// Puts every program-wide variable back to its state at process start.
void ResetGlobals();

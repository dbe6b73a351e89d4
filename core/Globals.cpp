#include "core/Globals.h"

QString G_Currency;
bool G_SameProgramsForAll;
bool G_TrayWhenMinimized;
bool G_StartMinimized;
bool G_DialerProtection;

QString G_ActiveUser;
QString G_Tariff;
bool G_NoMonitoringAccess;
bool G_NoListEdit;
bool G_NoDialOverBudget;
bool G_DayLimitOn;
qint32 G_DayLimitMinutes;
bool G_MonthLimitOn;
qint32 G_MonthLimitMinutes;
qint32 G_DayRestSeconds;
qint32 G_MonthRestSeconds;

bool G_MonitoringOn;
bool G_WatchWininet;
bool G_WatchLan;
bool G_WatchTapi;
bool G_WatchIP;
qint32 G_CheckIntervalSec;
QString G_IgnoredIPs;

QString G_WinVer;
bool G_TapiCallConnected;
quint32 G_hRasConn;

bool G_Recording;
qint32 G_DetectSource;
bool G_DialedHere;
QString G_FreeAllowanceLeft;
bool G_Holiday;
bool G_ChannelBundling;
double G_BytesIn;
double G_BytesOut;
double G_BytesTotal;
float G_RateIn;
float G_RateOut;
float G_RateTotal;

OpenFileName G_OFN;

void ResetGlobals()
{
    G_OFN = OpenFileName();
    G_Currency.clear();
    G_SameProgramsForAll = G_TrayWhenMinimized = G_StartMinimized = G_DialerProtection = false;
    G_ActiveUser.clear();
    G_Tariff.clear();
    G_NoMonitoringAccess = G_NoListEdit = G_NoDialOverBudget = false;
    G_DayLimitOn = G_MonthLimitOn = false;
    G_DayLimitMinutes = G_MonthLimitMinutes = 0;
    G_DayRestSeconds = G_MonthRestSeconds = 0;
    G_MonitoringOn = G_WatchWininet = G_WatchLan = G_WatchTapi = G_WatchIP = false;
    G_CheckIntervalSec = 0;
    G_IgnoredIPs.clear();
    G_WinVer.clear();
    G_TapiCallConnected = false;
    G_hRasConn = 0;
    G_Recording = false;
    G_DetectSource = 0;
    G_DialedHere = false;
    G_FreeAllowanceLeft.clear();
    G_Holiday = G_ChannelBundling = false;
    G_BytesIn = G_BytesOut = G_BytesTotal = 0;
    G_RateIn = G_RateOut = G_RateTotal = 0;
}

#pragma once
// Web download and setting the clock from the web time service.
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The web time service: a page of the current GMT time after "Current Timezone:" and "<H2>".
inline const QString TIME_SERVICE_HOST = QStringLiteral("http://zeit.zumbrel.de");
// The maker's web site: its update page opens from the counter page.
inline const QString MAKER_SITE_HOST = QStringLiteral("http://www.zumbrel.de");
inline const QString PROGRAM_UPDATES_PAGE = QStringLiteral("/zumbrel_updates.htm");
inline const QString TIME_SERVICE_PATH = QStringLiteral("/xdate?Etc/GMT");
inline const QString TIME_FILE_NAME = QStringLiteral("time.tmp");

inline const QString DOWNLOAD_UNAVAILABLE_TEXT =
    QStringLiteral("Es können leider keine Tarifupdates oder Zeitsynchronisationen durchgeführt werden, da die Datei "
                   "urlmon.dll nicht auf Ihrem Rechner installiert ist. Diese ist im Internet Explorer enthalten.");

// Downloads url into localFile (created or replaced only when the download is complete); true on
// success. Waits without freezing the windows.
bool DownloadFile(const QString& url, const QString& localFile);

enum class ClockSyncStatus {
    Set,        // the clock was set; the result is the correction
    NoTime,     // no usable time from the service: nothing was touched
    NotAllowed, // the system refused to set the clock (no privilege)
};

// What a caller shows instead of a correction when the clock could not be set.
inline const QString CLOCK_NOT_SET_TEXT = QStringLiteral("Die Uhrzeit konnte nicht gestellt werden.");

// Fetches the time page, sets the system date and time, and returns the correction in days (new local
// time minus the local time before); 0 when nothing was set, and *status says why.
double SyncClockFromWeb(ClockSyncStatus* status = nullptr);

// The GMT moment that a time page gives, checked field by field; invalid when the page is not as
// expected.
QDateTime ParseTimePage(const QString& text);

// The current offset of local time to GMT in seconds; appends the zone's current name to zoneName.
qint32 GetTimeZoneOffset(QString& zoneName);

// 1 to 12 for "Jan" ... "Dec" (exact case); 0 for any other text.
int MonthFromAbbrev(const QString& text);

#include "core/InternetFunctions.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/Waits.h"
#include "core/platform/Downloader.h"
#include "core/platform/SystemClock.h"

#include <QFile>
#include <QStringList>

namespace {
// A fixed-width number field: optional leading blanks, then digits only.
int NumberField(const QString& text, qsizetype from, qsizetype width)
{
    const QString field = text.mid(from, width);
    qsizetype i = 0;
    while (i < field.size() && field[i] == QLatin1Char(' ')) ++i;
    if (i == field.size()) return -1;
    int value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < QLatin1Char('0') || field[i] > QLatin1Char('9')) return -1;
        value = value * 10 + (field[i].unicode() - '0');
    }
    return value;
}

constexpr int MIN_YEAR = 2000;
constexpr int MAX_YEAR = 2099;
} // namespace

bool DownloadFile(const QString& url, const QString& localFile)
{
    Downloader& downloader = TheDownloader();
    if (!downloader.isAvailable()) {
        MsgBox(DOWNLOAD_UNAVAILABLE_TEXT, vbOKOnly + vbExclamation);
        return false;
    }
    const WaitUnderWay web(Wait::Web);
    return downloader.download(url, localFile);
}

int MonthFromAbbrev(const QString& text)
{
    static const QStringList months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return int(months.indexOf(text)) + 1;
}

QDateTime ParseTimePage(const QString& text)
{
    const qsizetype p1 = text.indexOf(QLatin1String("Current Timezone:"));
    if (text.isEmpty() || p1 < 0) return {};
    const qsizetype p = text.indexOf(QLatin1String("<H2>"), p1);
    if (p < 0) return {};
    if (text.size() < p + 41) return {}; // the original wants 40 characters after the marker's first

    const int month = MonthFromAbbrev(text.mid(p + 8, 3));
    const int day = NumberField(text, p + 12, 2);
    const int hour = NumberField(text, p + 15, 2);
    const int minute = NumberField(text, p + 18, 2);
    const int second = NumberField(text, p + 21, 2);
    const int year = NumberField(text, p + 28, 4);
    if (month < 1 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59 || year < MIN_YEAR || year > MAX_YEAR)
        return {};
    const QDate date(year, month, day);
    if (!date.isValid()) return {}; // 31 Feb and the like
    return QDateTime(date, QTime(hour, minute, second), Qt::UTC);
}

qint32 GetTimeZoneOffset(QString& zoneName)
{
    QString name;
    const qint32 offset = TheSystemClock().timeZoneOffset(&name);
    zoneName += name;
    return offset;
}

double SyncClockFromWeb(ClockSyncStatus* status)
{
    ClockSyncStatus dummy;
    ClockSyncStatus& result = status ? *status : dummy;
    result = ClockSyncStatus::NoTime;

    const QString file = ProgramPath(TIME_FILE_NAME);
    if (!DownloadFile(TIME_SERVICE_HOST + TIME_SERVICE_PATH, file)) return 0;
    FileRead state = FileRead::Missing;
    const QString text = ReadTextLines(file, &state, DOWNLOAD_FILE_CAP).join(QString());
    QFile::remove(file);

    const QDateTime gmt = ParseTimePage(text);
    if (!gmt.isValid()) return 0;

    QString zoneName;
    const qint32 offset = GetTimeZoneOffset(zoneName);
    // Wall-clock arithmetic in a zone without transitions, so adding the offset moves the date plainly.
    const QDateTime newLocal = gmt.addSecs(offset);
    const QDateTime before = Now();
    const QDateTime beforePlain(before.date(), before.time(), Qt::UTC);
    const double correction = double(beforePlain.secsTo(newLocal)) / 86400.0;

    if (!TheSystemClock().setLocalTime(newLocal.date(), newLocal.time())) {
        result = ClockSyncStatus::NotAllowed;
        return 0;
    }
    result = ClockSyncStatus::Set;
    return correction;
}

#include "analysis/Analysis.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/RecordFiles.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "tariffs/TarifFile.h"

#include <QDate>
#include <QHash>
#include <QList>

#include <algorithm>
#include <any>
#include <cmath>
#include <limits>

namespace {

enum class PeriodKind { All, Month, Year, None };

struct Period {
    PeriodKind kind = PeriodKind::None;
    int year = 0;
    int month = 0;
};

Period resolvePeriod(const QString& text, const QDate& today)
{
    Period p;
    if (text == QLatin1String("Gesamt")) {
        p.kind = PeriodKind::All;
        return p;
    }
    int back = -1;
    if (text == QLatin1String("Dieser Monat")) back = 0;
    else if (text == QLatin1String("Letzter Monat")) back = 1;
    else if (text == QLatin1String("Vorletzter Monat")) back = 2;
    if (back >= 0) {
        const QDate first = MonthsBefore(today, back);
        p.kind = PeriodKind::Month;
        p.year = first.year();
        p.month = first.month();
    } else if (text == QLatin1String("Dieses Jahr") || text == QLatin1String("Letztes Jahr")) {
        p.kind = PeriodKind::Year;
        p.year = today.year() - (text == QLatin1String("Letztes Jahr") ? 1 : 0);
    }
    return p;
}

bool inPeriod(const Period& p, const QDate& date)
{
    switch (p.kind) {
    case PeriodKind::All: return true;
    case PeriodKind::Month: return date.year() == p.year && date.month() == p.month;
    case PeriodKind::Year: return date.year() == p.year;
    case PeriodKind::None: return false;
    }
    return false;
}

// Leap years are not considered, and a year counts whole however much of it has passed.
int periodDays(const Period& p, const QDate& today, const QDate& oldest)
{
    switch (p.kind) {
    case PeriodKind::Month:
        if (p.month == 2) return 28;
        return p.month == 4 || p.month == 6 || p.month == 9 || p.month == 11 ? 30 : 31;
    case PeriodKind::Year: return 365;
    case PeriodKind::All: {
        const qint64 days = oldest.isValid() ? oldest.daysTo(today) : 0;
        return days > 0 ? int(std::min<qint64>(days, std::numeric_limits<int>::max())) : 7;
    }
    case PeriodKind::None: break;
    }
    return 7;
}

// Every name counts towards the oldest date, whatever user or period its record has.
void noteOldest(QDate& oldest, const QString& fileName)
{
    const QDate d = GetDateFromFileName(fileName);
    if (d.isValid() && d < oldest) oldest = d;
}

// "h:mm:ss" or "h:mm" of a valid time of day; invalid otherwise.
QTime parseStartTime(const QString& text)
{
    const QStringList parts = text.trimmed().split(':');
    if (parts.size() < 2 || parts.size() > 3) return {};
    int v[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const QString& f = parts[i];
        if (f.isEmpty() || f.size() > 2) return {};
        for (QChar c : f)
            if (!c.isDigit() || c.unicode() > '9') return {};
        v[i] = f.toInt();
    }
    return QTime(v[0], v[1], v[2]); // out of range gives an invalid time
}

// A duration field's leading number as the whole number it is stored in; a damaged field saturates
// instead of overflowing the sums.
qint64 durationField(const QStringList& fields, int i)
{
    return i < fields.size() ? CInt(Val(fields[i])) : 0;
}

qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
qint64 floorMod(qint64 a, qint64 b) { return a - floorDiv(a, b) * b; }

QString twoDigits(qint64 v)
{
    const QString digits = QString::number(v < 0 ? -v : v).rightJustified(2, '0');
    return v < 0 ? "-" + digits : digits;
}

// Counts per name in order of first appearance; the first of equal counts wins.
class CountTable {
public:
    void add(const QString& key)
    {
        const auto it = m_index.constFind(key);
        if (it != m_index.constEnd()) {
            ++m_entries[*it].second;
        } else {
            m_index.insert(key, int(m_entries.size()));
            m_entries.append({key, 1});
        }
    }
    const QPair<QString, qint64>* mostFrequent() const
    {
        const QPair<QString, qint64>* best = nullptr;
        qint64 max = 0;
        for (const auto& e : m_entries)
            if (e.second > max) {
                max = e.second;
                best = &e;
            }
        return best;
    }
private:
    QList<QPair<QString, qint64>> m_entries;
    QHash<QString, int> m_index;
};

QString mostFrequentSentence(const CountTable& table, const QString& none, const QString& lead)
{
    const auto* best = table.mostFrequent();
    if (!best) return none;
    return lead + best->first + " (" + QString::number(best->second) + " Verbindungen)";
}

QString whole(double v) { return FormatDouble(v, "0"); }
// The class thresholds compare the value as the sentences show it.
qint64 wholeValue(double v) { return whole(v).toLongLong(); }

QString userClass(qint64 m)
{
    if (m > 200) return "Powernutzer";
    if (m > 100) return "Vielnutzer";
    if (m > 50) return "Normalnutzer";
    if (m > 20) return "Gelegenheitsnutzer";
    return "Wenignutzer";
}

QString volumeClass(qint64 v)
{
    if (v > 100000) return "imensen";
    if (v > 50000) return "sehr großem";
    if (v > 20000) return "großem";
    if (v > 4000) return "normalen";
    if (v > 1000) return "geringem";
    return "sehr geringem";
}

// What one record adds to the analysis.
struct CountedRecord {
    qint64 h = 0, mn = 0, s = 0, minutes = 0, daytime = 0;
    float cost = 0;
    double kb = 0;
    QString entry, tariff, user;
};

} // namespace

qint64 GetDaytimeMinutes(const QTime& start, qint64 m)
{
    if (m <= 0 || !start.isValid()) return 0;
    constexpr qint64 day = 24 * 60, from = 8 * 60, to = 20 * 60;
    // day-time minutes among the minutes 0 .. x-1 counted from midnight
    const auto upTo = [](qint64 x) { return x / day * (to - from) + std::clamp<qint64>(x % day - from, 0, to - from); };
    const qint64 t0 = start.hour() * 60 + start.minute();
    const qint64 rest = m % day;
    return m / day * (to - from) + upTo(t0 + rest + 1) - upTo(t0 + 1);
}

int GetPeriodDays(const QString& period)
{
    const QDate today = Today();
    QDate oldest = today;
    const Period p = resolvePeriod(period, today);
    if (p.kind == PeriodKind::All)
        for (const QString& name : ListRecordFiles()) noteOldest(oldest, name);
    return periodDays(p, today, oldest);
}

AnalysisResult BuildAnalysis(const QString& period, const QString& user)
{
    const QDate today = Today();
    const Period p = resolvePeriod(period, today);
    const bool allUsers = user == ALL_ITEMS;

    qint64 H = 0, Mn = 0, S = 0, N = 0, daySum = 0, nightSum = 0;
    float C = 0;
    double kbSum = 0;
    CountTable entries, users, tariffs;
    QDate oldest = today;

    // The oldest date comes from the same listing as the records, so the folder is listed once.
    WalkRecords(
        [&](const QString& name) {
            if (p.kind == PeriodKind::All) noteOldest(oldest, name);
            return inPeriod(p, GetDateFromFileName(name));
        },
        // The reading threads parse each record; the sums grow on this thread in listing order, so the
        // single-precision cost total comes out as a plain loop would give it.
        [&](const QString&, const RecordLines& record) -> std::any {
            QStringList line(12);
            for (int i = 1; i <= 11; ++i) {
                line[i] = record.line(i);
                if (i == 1 || i == 4) line[i] = line[i].mid(1);
                if (line[i].isEmpty()) return {};
            }
            const QTime start = parseStartTime(line[2]);
            if (!start.isValid()) return {};
            if (!allUsers && line[11] != user) return {};

            const QStringList fields = line[3].split(':');
            CountedRecord c;
            c.h = durationField(fields, 0);
            c.mn = durationField(fields, 1);
            c.s = durationField(fields, 2);
            c.minutes = c.h * 60 + c.mn;
            c.daytime = GetDaytimeMinutes(start, c.minutes);
            c.cost = ValDecimal(line[4]);
            c.kb = Val(line[8]) / 1000;
            c.entry = line[9];
            c.tariff = line[10];
            c.user = line[11];
            return c;
        },
        [&](const QString&, std::any& prepared) {
            const CountedRecord* c = std::any_cast<CountedRecord>(&prepared);
            if (!c) return;
            daySum += c->daytime;
            nightSum += c->minutes - c->daytime;
            entries.add(c->entry);
            users.add(c->user);
            tariffs.add(c->tariff);
            H += c->h;
            Mn += c->mn;
            S += c->s;
            C = SingleSum(C, c->cost);
            kbSum += c->kb;
            ++N;
        });

    const qint64 T = H * 60 + Mn + floorDiv(S, 60);
    const double K = std::floor(kbSum);
    const int D = periodDays(p, today, oldest);
    const QString currency = " " + G_Currency;

    QStringList s(11);
    if (T > 0) {
        const qint64 P = qint64(std::floor(double(daySum) * 100 / double(T)));
        const QString rest = QString::number(P) + "% zwischen 8 und 20 Uhr, " + QString::number(100 - P) +
                             "% in der restlichen Zeit).";
        if (daySum > nightSum) s[0] = "Sie surfen mehr tagsüber als nachts (" + rest;
        else if (daySum < nightSum) s[0] = "Sie surfen mehr nachts als tagsüber (" + rest;
        else s[0] = "Sie surfen ausgeglichen tags und nachts (" + rest;
    } else {
        s[0] = "Eine Auswertung ist aufgrund unzureichender Daten nicht möglich.";
    }
    s[7] = mostFrequentSentence(entries, "Die meistgewählte DFÜ Verbindung ist nicht ermittelbar.",
                                "Die meistgewählte DFÜ Verbindung ist: ");
    s[8] = mostFrequentSentence(tariffs, "Der meistgenutzte Tarif ist nicht ermittelbar.",
                                "Der meistgenutzte Tarif lautet: ");
    s[9] = allUsers ? mostFrequentSentence(users, "Der aktivste Benutzer ist nicht ermittelbar.",
                                           "Der aktivste Benutzer ist: ")
                    : "Stellen Sie als Benutzer \"[Alle]\" ein um den aktivsten Benutzer zu ermitteln.";
    if (N == 0) N = 1; // averages of an empty selection are 0

    const double weeks = D / 7.0;
    s[1] = "Die durchschnittliche Verbindungsdauer liegt bei " + whole(double(T) / N) + " Minuten.";
    s[2] = "Pro Tag verbringen sie durchschnittlich " + whole(double(T) / D) + " Minuten, pro Woche " +
           FormatDouble(double(T) / 60 / weeks, "0.0") + " Stunden im Internet.";
    s[3] = "Die durchschnittlichen Verbindungskosten liegen bei " + FormatSingle(C / float(N), "0.00") + currency +
           ".";
    s[4] = "Pro Tag geben Sie für die Internetnutzung durchschnittlich " + FormatSingle(C / float(D), "0.00") +
           currency + " aus, pro Woche " + FormatDouble(double(C) / weeks, "0.00") + currency + ".";
    s[5] = "Der durchschnittliche Transfer pro Verbindung beträgt " + whole(K / double(N)) + " KB.";
    s[6] = "Pro Tag ergibt sich ein Transfervolumen von durchschnittlich " + whole(K / D) + " KB, pro Woche " +
           whole(K / 1000 / weeks) + " MB.";
    if (N != 1)
        s[10] = "Das entspricht einem " + userClass(wholeValue(double(T) / D)) + " mit " +
                volumeClass(wholeValue(K / D)) + " Datenaufkommen.";
    else
        s[10] = "Eine Einschätzung ist aufgrund unzureichender Daten nicht möglich.";

    AnalysisResult r;
    r.sentences = s;
    const qint64 minutes = Mn + floorDiv(S, 60);
    r.totalDuration = twoDigits(H + floorDiv(minutes, 60)) + ":" + twoDigits(floorMod(minutes, 60)) + ":" +
                      twoDigits(floorMod(S, 60));
    r.totalCost = FormatSingle(C, "0.00") + currency;
    r.totalTransfer = whole(K) + " KB";
    return r;
}

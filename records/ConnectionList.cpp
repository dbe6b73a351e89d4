#include "records/ConnectionList.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

#include <QStringList>

#include <cmath>
#include <limits>

const QStringList& ListPeriodTexts()
{
    static const QStringList texts{
        QStringLiteral("Gesamt"),           QStringLiteral("Dieser Monat"), QStringLiteral("Letzter Monat"),
        QStringLiteral("Vorletzter Monat"), QStringLiteral("Heute"),        QStringLiteral("Gestern"),
        QStringLiteral("Vorgestern"),       QStringLiteral("Dieses Jahr"),  QStringLiteral("Letztes Jahr"),
        QStringLiteral("Definiert"),
    };
    return texts;
}

namespace {
bool sameMonth(const QDate& a, const QDate& b)
{
    return a.year() == b.year() && a.month() == b.month();
}

// Hours before the first colon, minutes and seconds in the next two fields. A damaged duration beyond the
// 64-bit range saturates, as its hours do.
qint64 durationSeconds(const QString& text, qint64* hours = nullptr, int* minutes = nullptr, int* seconds = nullptr)
{
    const QStringList f = text.split(':');
    const qint64 h = CLng(Val(f.value(0)));
    const int m = CInt(Val(f.value(1)));
    const int s = CInt(Val(f.value(2)));
    if (hours) *hours = h;
    if (minutes) *minutes = m;
    if (seconds) *seconds = s;
    return CLng(double(h) * 3600 + double(m) * 60 + s);
}

// Totals of damaged records stop at the end of the range instead of wrapping.
qint64 saturatedSum(qint64 a, qint64 b)
{
    qint64 sum;
    if (!qAddOverflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

// Config/Difference.cfg: the category, then one block of three lines per category up to the chosen one,
// so that the chosen category's block is read last. A missing line keeps its threshold.
void readMarking(ListMarking& marking)
{
    FileRead state = FileRead::Missing;
    const QStringList lines = ReadTextLines(ProgramPath(QStringLiteral("Config/Difference.cfg")), &state);
    if (state != FileRead::Ok || lines.isEmpty()) return;
    const double category = std::nearbyint(Val(lines[0]));
    if (category < 0 || category > 255) return; // not a byte: the read fails and the rest is skipped
    marking.category = quint8(category);
    for (int block = 1; block <= qMin<int>(marking.category, 3); ++block) {
        for (int i = 0; i < 3; ++i) {
            const qsizetype line = 1 + (block - 1) * 3 + i;
            if (line >= lines.size()) return;
            if (block == 2)
                marking.seconds[i] = durationSeconds(lines[line]);
            else
                marking.limits[i] = ValDecimal(lines[line]);
        }
    }
}

// A start that is no date is the date scale's day zero, before every record, so the list starts at the
// first one. An end that is missing or no date lists nothing: it is no day, not day zero, which would let
// a record named for day zero in.
const QDate DAY_ZERO(1899, 12, 30);

struct DefinedPeriod {
    QDate start = DAY_ZERO, end;
};

DefinedPeriod readDefinedPeriod()
{
    const QStringList lines = ReadTextLines(ProgramPath(QStringLiteral("Config/Period.cfg")));
    if (lines.isEmpty()) return {};
    const QDate start = ParseShortDate(lines[0]);
    return {start.isValid() ? start : DAY_ZERO, ParseShortDate(lines.size() > 1 ? lines[1] : lines[0])};
}

// A number's plain form; a text of plain digits already is it (the byte columns of 20,000 rows).
QString plainNumber(const QString& text)
{
    const qsizetype n = text.size();
    bool digits = n > 0 && n <= 15 && (text[0] != '0' || n == 1);
    for (qsizetype i = 0; digits && i < n; ++i)
        digits = text[i] >= '0' && text[i] <= '9';
    return digits ? text : GeneralDouble(Val(text));
}

const QString TAX_FILE = QStringLiteral("Tax.dat");
constexpr int DEFAULT_TAX = 16;
} // namespace

bool InListPeriod(int period, const QDate& date, const QDate& today, const QDate& start, const QDate& end)
{
    switch (period) {
    case PeriodAll:
        return true;
    case PeriodThisMonth:
        return sameMonth(date, today);
    case PeriodLastMonth:
        return sameMonth(date, MonthsBefore(today, 1));
    case PeriodMonthBeforeLast:
        return sameMonth(date, MonthsBefore(today, 2));
    case PeriodToday:
        return date == today;
    case PeriodYesterday:
        return date == today.addDays(-1);
    case PeriodDayBeforeYesterday:
        return date == today.addDays(-2);
    case PeriodThisYear:
        return date.year() == today.year();
    case PeriodLastYear:
        return date.year() == today.year() - 1;
    case PeriodDefined:
        return start.isValid() && end.isValid() && start <= date && date <= end;
    default:
        return false;
    }
}

int ReadTaxPercent()
{
    const QString path = ProgramPath(TAX_FILE);
    FileRead state = FileRead::Missing;
    QStringList lines = ReadTextLines(path, &state);
    if (state == FileRead::Missing) {
        WriteTextLines(path, {Str(DEFAULT_TAX)});
        lines = ReadTextLines(path, &state);
    }
    // an empty or unreadable file has no percentage to give: the usual rate
    if (state != FileRead::Ok || lines.isEmpty() || lines[0].trimmed().isEmpty()) return DEFAULT_TAX;
    const double percent = Val(lines[0]);
    if (percent < 0 || percent > 100) {
        MsgBox(TAX_RANGE_MESSAGE, vbInformation);
        WriteTextLines(path, {Str(DEFAULT_TAX)});
        return DEFAULT_TAX;
    }
    return CInt(percent);
}

ConnectionListResult LoadConnectionList(const ConnectionListQuery& query, ListMarking& marking)
{
    readMarking(marking);
    const qint16 netShare = query.net ? qint16(100 - ReadTaxPercent()) : 100;
    const QDate today = Today();
    const DefinedPeriod defined = query.period == PeriodDefined ? readDefinedPeriod() : DefinedPeriod{};

    ConnectionListResult result;
    qint64 hours = 0, minutes = 0, seconds = 0;
    float cost = 0;

    // "Gesamt" takes every record: no date need be read from 20,000 names
    RecordSelector inPeriod;
    if (query.period != PeriodAll)
        inPeriod = [&](const QString& name) {
            return InListPeriod(query.period, GetDateFromFileName(name), today, defined.start, defined.end);
        };
    // A row's texts cost more than reading its record, so they are made on the walk's reading threads; only
    // the totals are added up here, in listing order (the cost's float sum depends on it).
    struct Prepared {
        ConnectionRow row;
        qint64 hours = 0;
        int minutes = 0, seconds = 0;
        float cost = 0;
    };
    const ListMarking& marks = marking;
    const auto prepare = [&query, &marks, netShare](const QString& name, const RecordLines& record) -> std::any {
        if (record.stored.size() < 11) return {};
        for (int i = 0; i < 11; ++i)
            if (record.stored[i].isEmpty()) return {};
        if (!MatchesTarifFilter(record.line(10), query.provider, query.tariff)) return {};
        if (query.user != ALL_ITEMS && query.user != record.line(11)) return {};

        Prepared p;
        ConnectionRow& row = p.row;
        const QString dateText = record.line(1).mid(1);
        const QDate date = ParseShortDate(dateText);
        if (!date.isValid()) return {}; // no sort date can be built: the row is dropped
        row.cells.resize(LIST_COLUMNS);
        auto cell = [&row](int column) -> QString& { return row.cells[column - 1]; };
        cell(ColDate) = dateText;
        cell(ColSortDate) = QStringLiteral("%1%2%3")
                                .arg(date.year(), 4, 10, QChar('0'))
                                .arg(date.month(), 2, 10, QChar('0'))
                                .arg(date.day(), 2, 10, QChar('0'));
        cell(ColStart) = record.line(2);

        const QString duration = NormalizeDuration(record.line(3));
        cell(ColDuration) = duration;
        const qint64 durationTotal = durationSeconds(duration, &p.hours, &p.minutes, &p.seconds);

        float c = ValDecimal(record.line(4).mid(1));
        if (query.net) c = float(double(c) * netShare / 100);
        cell(ColCost) = FormatSingle(c, QStringLiteral("0.000"));
        p.cost = c;

        const double bytesTotal = Val(record.line(8));
        for (int column = ColUnits; column <= ColBytesTotal; ++column)
            cell(column) = plainNumber(record.line(column - 1));

        switch (marks.category) {
        case 0:
            row.icon = 0;
            break;
        case 1:
            row.icon = MarkLevel(c, marks.limits);
            break;
        case 2:
            row.icon = MarkLevel(durationTotal, marks.seconds);
            break;
        case 3:
            row.icon = MarkLevel(float(bytesTotal / 1000), marks.limits);
            break;
        default:
            break;
        }

        cell(ColDialUp) = record.line(9);
        cell(ColTariff) = record.line(10).chopped(qMin<qsizetype>(4, record.line(10).size()));
        cell(ColUser) = record.line(11);
        cell(ColComment) = record.line(12);
        cell(ColFile) = name;
        return p;
    };
    WalkRecords(inPeriod, prepare, [&](const QString&, std::any& prepared) {
        Prepared* p = std::any_cast<Prepared>(&prepared);
        if (!p) return; // dropped
        hours = saturatedSum(hours, p->hours);
        minutes += p->minutes;
        seconds += p->seconds;
        cost = SingleSum(cost, p->cost);
        result.rows.push_back(std::move(p->row));
    });

    minutes += seconds / 60;
    hours = saturatedSum(hours, minutes / 60);
    minutes %= 60;
    seconds %= 60;
    result.hours = hours;
    result.minutes = int(minutes);
    result.seconds = int(seconds);
    result.cost = cost;
    auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QChar('0')); };
    result.durationText = two(hours) + ':' + two(minutes) + ':' + two(seconds);
    result.costText = FormatSingle(cost, QStringLiteral("0.00")) + ' ' + G_Currency;
    return result;
}

#include "records/ListTitle.h"

#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"

namespace {
QString dayTitle(const QDate& d)
{
    return QStringLiteral("Verbindungen am ") + GermanDayName(d.dayOfWeek()) + QStringLiteral(", den ") + ShortDate(d);
}

QString monthTitle(const QDate& d)
{
    return QStringLiteral("Verbindungen im ") + GermanMonthName(d.month()) + QLatin1Char(' ') +
           QString::number(d.year());
}
} // namespace

QString GetListTitle(const QString& periodText)
{
    const QDate d = Today();
    if (periodText == QLatin1String("Heute")) return dayTitle(d);
    if (periodText == QLatin1String("Gestern")) return dayTitle(d.addDays(-1));
    if (periodText == QLatin1String("Vorgestern")) return dayTitle(d.addDays(-2));
    if (periodText == QLatin1String("Dieser Monat")) return monthTitle(d);
    if (periodText == QLatin1String("Letzter Monat")) return monthTitle(MonthsBefore(d, 1));
    if (periodText == QLatin1String("Vorletzter Monat")) return monthTitle(MonthsBefore(d, 2));
    if (periodText == QLatin1String("Dieses Jahr"))
        return QStringLiteral("Verbindungen im Jahr ") + QString::number(d.year());
    if (periodText == QLatin1String("Letztes Jahr"))
        return QStringLiteral("Verbindungen im Jahr ") + QString::number(d.year() - 1);
    if (periodText == QLatin1String("Definiert")) {
        const LineReader period(ProgramPath(QStringLiteral("Config/Period.cfg")));
        const QString from = period.exists() ? period.line(0) : ShortDate(d);
        const QString to = period.exists() ? period.line(1) : ShortDate(d);
        return QStringLiteral("Verbindungen vom ") + from + QStringLiteral(" bis zum ") + to;
    }
    if (periodText == QLatin1String("Gesamt")) return QStringLiteral("Alle aufgezeichneten Verbindungen");
    return QStringLiteral("Verbindungen");
}

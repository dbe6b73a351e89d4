#pragma once
// What a user has spent against the day, month and period budget, summed from the connection
// records. The live counter, the overview page and the budget page share this walk; each subtracts the
// costs in its own precision, in the order given, so that its figures round as its own display expects.
#include "core/RecordFiles.h"
#include "users/BudgetFiles.h"

#include <QDate>
#include <QString>

#include <vector>

// Text shared by the pages that show budgets.
inline const QString BUDGET_FILES_DAMAGED =
    QStringLiteral("Die Budgetdateien sind beschädigt oder nicht mehr vorhanden, bitte nehmen Sie die "
                   "Budgeteinstellungen erneut vor.");

// The budget in force for a user: Benutzer/Budget.dat when line 1 of Benutzer/Benutzer.dat is 1, else
// Benutzer/<user>.bdg (also when Benutzer.dat is missing). Amounts that are no number read as 0, dates
// that are none as invalid dates.
struct BudgetInForce {
    StoredFile state = StoredFile::Missing; // Damaged: fewer than five lines or an amount that is no number
    bool sameForAll = false;
    double day = 0, month = 0, period = 0;
    QString startText, endText; // the period as stored
    QDate periodStart, periodEnd;
};
BudgetInForce ReadBudgetInForce(const QString& user);

// start <= date <= end; never with an invalid end of the period.
bool InPeriod(const QDate& date, const QDate& start, const QDate& end);

// The cost of a record: line 4 without its "S" marker, read by ReadZonePrice (a decimal comma or point);
// 0 when the line is missing or empty or holds no such number.
double RecordCost(const RecordLines& record);

// The costs of the records that count, in walk order, for each budget. A record counts when one budget
// serves all users or its user is exactly `user`. It counts for the day when its name dates it today, for
// the month when it dates it in today's month and year (today's records included), and for the period
// when today and the record's date both lie inside the period.
struct BudgetSpending {
    std::vector<double> day, month, period;
};
BudgetSpending GetBudgetSpending(const QString& user, bool sameForAll, const QDate& periodStart,
                                 const QDate& periodEnd);

// The day, month and year fields of a record's name (characters 1-2, 3-4 and the number from 5 on).
struct RecordNameDate {
    int day = 0, month = 0, year = 0;
};
RecordNameDate RecordNameFields(const QString& fileName);
// The date those fields make; fields out of range roll over, an invalid date when none can be built.
QDate RecordNameDay(const RecordNameDate& fields);

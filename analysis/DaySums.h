#pragma once
// Per-day sums of the recorded connections for the month diagram and the printed page. A record's day is
// its file name's, never its first line's; nothing is cached, every call walks the record folder anew.
#include "tariffs/TarifFile.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>

// The user, provider and tariff item a record must match; "[Alle]" in any of them restricts nothing.
struct RecordSelection {
    QString user = ALL_ITEMS;
    QString provider = ALL_ITEMS;
    QString tarif = ALL_ITEMS; // "M - <name>" or "A - <name>"
};

// The test a record must pass to be summed, from its tariff field (line 10) and user field (line 11).
using RecordTest = std::function<bool(const QString& tarifField, const QString& userField)>;

// The user equal without regard to case, provider and tariff item as the connection list filters them.
bool MatchesSelection(const QString& tarifField, const QString& userField, const RecordSelection& selection);
// The month diagram's test: both fields present, then MatchesSelection.
bool MatchesChartFilter(const QString& tarifField, const QString& userField, const RecordSelection& selection);

// The day's total cost, transferred megabytes (of 1,000,000 bytes) and online seconds of the records passing
// `test`, summed in single precision in listing order.
float GetDayCosts(const QDate& day, const RecordTest& test);
float GetDayTransferMB(const QDate& day, const RecordTest& test);
float GetDayOnlineTime(const QDate& day, const RecordTest& test);

// What a month series sums.
enum DaySumKind { DAY_SECONDS = 1, DAY_COSTS = 2, DAY_MEGABYTES = 3 };

// A month's day sums in one walk: index d holds day d, equal to the day sum of that date; index 0 and the
// days the month does not have stay 0, as does everything for a month outside 1-12 or an unknown kind.
std::array<float, 32> GetMonthDaySums(int year, int month, int kind, const RecordTest& test);

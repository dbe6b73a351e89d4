#pragma once
// The analysis page's figures: a chosen period and user summed up in eleven sentences and three totals,
// read anew from the record files on every run.
#include <QString>
#include <QStringList>
#include <QTime>

struct AnalysisResult {
    QStringList sentences; // eleven, in the order of the page's sentence labels
    QString totalDuration; // "hh:mm:ss", hours may have more digits
    QString totalCost;     // "0,00 €"
    QString totalTransfer; // "123 KB"
};

// period: "Gesamt", "Dieser Monat", "Letzter Monat", "Vorletzter Monat", "Dieses Jahr", "Letztes Jahr"
// (any other text selects nothing); user: "[Alle]" or a user name, matched exactly.
AnalysisResult BuildAnalysis(const QString& period, const QString& user);

// The days by which the per-day and per-week figures are divided; at least 1.
int GetPeriodDays(const QString& period);

// The minutes k = 1..m after the start whose clock time lies from 08:00 to 19:59; m <= 0 gives 0.
qint64 GetDaytimeMinutes(const QTime& start, qint64 m);

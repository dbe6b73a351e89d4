#pragma once
// A connection list page as the export and the print page read it: its choices and its rows, set by the test.
#include "records/ConnectionListView.h"

#include <QList>
#include <QStringList>

class FakeList : public ConnectionListView {
public:
    QString period = QStringLiteral("Dieser Monat");
    int periodIdx = 1;
    QString user = QStringLiteral("[Alle]"), provider = QStringLiteral("[Alle]"), tariff;
    int userIdx = 0, providerIdx = 0, tariffIdx = -1;
    QStringList heads = {"",       "Datum", "Startzeit", "Dauer",    "Kosten",    "Einheiten", "Empfangen", "Gesendet",
                         "Gesamt", "DFÜ",   "Tarif",     "Benutzer", "Kommentar", "S1",        "S2"};
    QList<QStringList> rows; // columns from 1

    QString periodText() const override { return period; }
    int periodIndex() const override { return periodIdx; }
    QString userText() const override { return user; }
    int userIndex() const override { return userIdx; }
    QString providerText() const override { return provider; }
    int providerIndex() const override { return providerIdx; }
    QString tariffText() const override { return tariff; }
    int tariffIndex() const override { return tariffIdx; }
    QString headerText(int column) const override { return heads.value(column - 1); }
    int rowCount() const override { return int(rows.size()); }
    QString cellText(int row, int column) const override { return rows.value(row).value(column - 1); }
    int columnCount() const override { return int(heads.size()); }
};

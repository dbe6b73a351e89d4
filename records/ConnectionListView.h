#pragma once
// What the export and the print page read live of the connection list page: its choices and its rows in
// the order shown. The page implements it; tests fake it.
#include <QList>
#include <QString>

class ConnectionListView {
public:
    virtual ~ConnectionListView() = default;
    virtual QString periodText() const = 0; // the period list's text ("Gesamt", "Dieser Monat", ...)
    virtual int periodIndex() const = 0;
    virtual QString userText() const = 0; // "[Alle]" or a user
    virtual int userIndex() const = 0;
    virtual QString providerText() const = 0;
    virtual int providerIndex() const = 0;
    virtual QString tariffText() const = 0;
    virtual int tariffIndex() const = 0;
    virtual QString headerText(int column) const = 0; // columns from 1
    virtual int rowCount() const = 0;
    virtual QString cellText(int row, int column) const = 0; // rows from 0 in the order shown, columns from 1
    virtual int columnCount() const = 0;
};

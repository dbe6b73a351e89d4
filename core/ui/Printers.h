#pragma once
// The system's printers. Each name has one printer object for the program run, so that what its
// settings dialog changes is what the next print run uses.
#include <QString>
#include <QStringList>

class QPrinter;

class Printers {
public:
    virtual ~Printers() = default;
    virtual QStringList names() = 0; // installed printers, in the system's order
    virtual QString defaultName() = 0; // empty when the system has none
    // The program's printer of that name; nullptr when no installed printer has it (any more).
    virtual QPrinter* printer(const QString& name) = 0;

    // The printer the program prints on: the system's default until a print run chooses another.
    QString currentName() { return m_current.isEmpty() ? defaultName() : m_current; }
    void setCurrentName(const QString& name) { m_current = name; }

private:
    QString m_current;
};

Printers& ThePrinters();
void SetPrinters(Printers* printers); // nullptr restores the system's; the caller keeps ownership

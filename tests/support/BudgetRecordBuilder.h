#pragma once
// Connection records and budget files for the budget and free-allowance tests.
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "support/TestSupport.h"

#include <QString>
#include <QStringList>

struct TestRecord {
    QString name; // "DDMMYYYY-HHMMSS.con"
    QString cost = "1,00";
    QString user = "Anna";
    QString duration = "00:10:00";
    QString bytesTotal = "0";
    QString tariff = "Netz - Tag.tel";
    QString start = "10:00:00";
};

// The record's eleven lines in plain text, lines 1 and 4 with their marker.
inline QStringList TestRecordLines(const TestRecord& r)
{
    const QString date = r.name.left(2) + "." + r.name.mid(2, 2) + "." + r.name.mid(4, 4);
    return {"S" + date, r.start, r.duration, "S" + r.cost, "1", "0", "0", r.bytesTotal, "Netz", r.tariff, r.user};
}

// Writes the record's eleven lines enciphered below `folder` (the program folder).
inline bool WriteTestRecord(const QString& folder, const TestRecord& r)
{
    QStringList lines;
    for (const QString& v : TestRecordLines(r)) lines << EncryptString(v);
    return WriteTextLines(folder + "/Verbindungen/" + r.name, lines);
}

// A budget file: day, month and period amount, period start and end.
inline bool WriteTestBudget(const QString& path, const QString& day, const QString& month, const QString& period,
                            const QString& start = "01.01.2001", const QString& end = "31.01.2001")
{
    return WriteTextLines(path, {day, month, period, start, end});
}

// Anna on Monday 15.01.2001 at noon, amounts in euro.
class BudgetTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        G_Currency = QStringLiteral("€");
        G_ActiveUser = "Anna";
        clock.set(QDateTime(QDate(2001, 1, 15), QTime(12, 0, 0)));
    }
    void spent(const QString& name, const QString& cost, const QString& user = "Anna")
    {
        TestRecord r;
        r.name = name;
        r.cost = cost;
        r.user = user;
        ASSERT_TRUE(WriteTestRecord(dir.path(), r));
    }
};

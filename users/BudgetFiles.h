#pragma once
// Budget files: Benutzer/<user>.bdg per user or Benutzer/Budget.dat for all users (BudgetRecord), and the
// budget options Benutzer/Benutzer.dat (BudgetOptions). Plain text, not enciphered.
#include <QDate>
#include <QString>

// How a stored file was found by its reader. Unreadable: it exists but cannot be read (no permission, a
// folder in its place); unlike a damaged one it is never written over.
enum class StoredFile { Ok, Missing, Damaged, Unreadable };

// Five lines: day, month and period amount (0 = that budget off), period start and end.
struct BudgetRecord {
    QString day = QStringLiteral(" 0"); // amounts as stored: " 0" from the default writers, "25" from the page
    QString month = QStringLiteral(" 0");
    QString period = QStringLiteral(" 0");
    QString start; // "1.1.2002" from the default writers, "01.01.2002" from the page
    QString end;

    // The values; an amount that is no number reads as 0 and a date that is none as an invalid date.
    double dayAmount() const;
    double monthAmount() const;
    double periodAmount() const;
    QDate startDate() const;
    QDate endDate() const;

    // The record that NewUser and the budget page write for a new or lost file, and the one of
    // CreateUserFiles and the Supervisor created at start-up.
    static BudgetRecord newUserDefaults(); // 1.1.2001 to 31.1.2001
    static BudgetRecord createdDefaults(); // 1.1.2002 to 31.1.2002
};

// A budget amount as the number conversion reads it: the whole text (blanks around allowed) with at most
// one "," or "." as its decimal separator. False when it is no number.
bool ReadBudgetAmount(const QString& text, double* value);

QString UserBudgetPath(const QString& user); // Benutzer/<user>.bdg; empty as UserRecordPath
QString CommonBudgetPath();                  // Benutzer/Budget.dat

// Damaged: fewer than five lines, or an amount that is no number.
StoredFile ReadBudgetRecord(const QString& path, BudgetRecord& record);
bool WriteBudgetRecord(const QString& path, const BudgetRecord& record);

// Four lines: flags " 0"/" 1" and the warning sound (a file of Sounds without ".wav").
struct BudgetOptions {
    bool sameForAll = false;
    bool acousticWarning = false;
    bool visualWarning = false;
    QString sound;
};

QString BudgetOptionsPath(); // Benutzer/Benutzer.dat
// A missing file gives the defaults (per-user budgets, no warnings); lines missing at the end keep theirs.
BudgetOptions ReadBudgetOptions(bool* exists = nullptr);
bool WriteBudgetOptions(const BudgetOptions& options);

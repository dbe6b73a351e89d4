#include "users/BudgetFiles.h"

#include "core/PriceReader.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/VB.h"

namespace {
double amount(const QString& text)
{
    double v = 0;
    return ReadBudgetAmount(text, &v) ? v : 0.0;
}

BudgetRecord withDates(const QString& start, const QString& end)
{
    BudgetRecord r;
    r.start = start;
    r.end = end;
    return r;
}

QString flag(bool on) { return Str(on ? 1 : 0); }
} // namespace

double BudgetRecord::dayAmount() const { return amount(day); }
double BudgetRecord::monthAmount() const { return amount(month); }
double BudgetRecord::periodAmount() const { return amount(period); }
QDate BudgetRecord::startDate() const { return ParseShortDate(start); }
QDate BudgetRecord::endDate() const { return ParseShortDate(end); }

BudgetRecord BudgetRecord::newUserDefaults() { return withDates("1.1.2001", "31.1.2001"); }
BudgetRecord BudgetRecord::createdDefaults() { return withDates("1.1.2002", "31.1.2002"); }

bool ReadBudgetAmount(const QString& text, double* value)
{
    // the same number conversion as the zone prices: "12,5" and "12.5" are both twelve and a half
    const auto v = ReadZonePrice(text);
    if (v && value) *value = *v;
    return v.has_value();
}

QString UserBudgetPath(const QString& user)
{
    return IsSafeName(user) ? ProgramPath("Benutzer/" + user + ".bdg") : QString();
}
QString CommonBudgetPath() { return ProgramPath(QStringLiteral("Benutzer/Budget.dat")); }
QString BudgetOptionsPath() { return ProgramPath(QStringLiteral("Benutzer/Benutzer.dat")); }

StoredFile ReadBudgetRecord(const QString& path, BudgetRecord& record)
{
    bool ok = false;
    const QStringList lines = ReadTextLines(path, &ok);
    if (!ok) return StoredFile::Missing;
    if (lines.size() < 5) return StoredFile::Damaged;
    BudgetRecord r;
    r.day = lines[0];
    r.month = lines[1];
    r.period = lines[2];
    r.start = lines[3];
    r.end = lines[4];
    for (const QString& a : {r.day, r.month, r.period})
        if (!ReadBudgetAmount(a, nullptr)) return StoredFile::Damaged;
    record = r;
    return StoredFile::Ok;
}

bool WriteBudgetRecord(const QString& path, const BudgetRecord& r)
{
    return WriteTextLines(path, {r.day, r.month, r.period, r.start, r.end}, FileAccess::Default, FileSync::Durable);
}

BudgetOptions ReadBudgetOptions(bool* exists)
{
    BudgetOptions o;
    bool ok = false;
    const QStringList lines = ReadTextLines(BudgetOptionsPath(), &ok);
    if (exists) *exists = ok;
    bool* flags[] = {&o.sameForAll, &o.acousticWarning, &o.visualWarning};
    for (int i = 0; i < 3 && i < lines.size(); ++i) *flags[i] = Val(lines[i]) == 1;
    if (lines.size() > 3) o.sound = lines[3];
    return o;
}

bool WriteBudgetOptions(const BudgetOptions& o)
{
    return WriteTextLines(BudgetOptionsPath(),
                         {flag(o.sameForAll), flag(o.acousticWarning), flag(o.visualWarning), o.sound});
}

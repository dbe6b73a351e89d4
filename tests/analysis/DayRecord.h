#pragma once
// The plain lines of a connection record as the day sums and the print page read them.
#include <QStringList>

inline QStringList recordLines(const QString& date, const QString& duration, const QString& cost, const QString& bytes,
                               const QString& tariff = "Alpha - Abend.tel", const QString& user = "anna")
{
    return {"S" + date, "12:00:00", duration, "S" + cost, "3", "2000", "500", bytes, "Modem", tariff, user};
}

// One case of a record test over a record's tariff and user fields and a user, provider and tariff choice.
struct FilterCase {
    const char* tarif;
    const char* user;
    const char* selUser;
    const char* provider;
    const char* item;
    bool passes;
};

#pragma once
// The users: one enciphered record Benutzer/<name>.usr per user, beside it the budget file <name>.bdg.
// The user page calls these operations with the name it shows; questions go through core/Dialogs.h.
#include "users/BudgetFiles.h"

#include <QString>
#include <QStringList>

inline const QString SUPERVISOR = QStringLiteral("Supervisor");

// The eleven values of a user record. Flags are check box states (0 off, 1 on); the minutes are the
// texts of their boxes.
struct UserRecord {
    int noUserSettings = 0;       // line 1
    int noMonitoringSettings = 0; // line 2: monitoring and dial-up settings
    int noBudgetSettings = 0;     // line 3
    int noListEdit = 0;           // line 4
    int noDialOverBudget = 0;     // line 5
    int noListView = 0;           // line 6: connection list and analyses
    int dayLimitOn = 0;           // line 7
    QString dayLimitMinutes = QStringLiteral("60");
    QString password; // empty = none
    int monthLimitOn = 0; // line 10
    QString monthLimitMinutes = QStringLiteral("600");

    QStringList plainLines() const; // the 11 lines before enciphering
    bool operator==(const UserRecord& o) const { return plainLines() == o.plainLines(); }
};

// Benutzer below the program folder, resolved without regard to case; created on demand by the writers.
QString UserFolderPath();
// Empty for a name that would leave Benutzer: such a record reads as missing and is never written.
QString UserRecordPath(const QString& name);

// The user list: the names of Benutzer/*.usr, sorted case-insensitively.
QStringList GetUserNames();

// Reads a record as the user page does: a short record reads its missing lines as empty (not damaged);
// a line that cannot be deciphered, a flag that is no check box state or a file over DATA_FILE_CAP
// makes it damaged. A record that exists but cannot be read is Unreadable. The minutes are given as the
// whole numbers the limit check takes from them (halves to even, beyond 32 bits the nearest end).
StoredFile ReadUserRecord(const QString& name, UserRecord& record);
// Reads the record; a missing or damaged one is written anew with the defaults (budget file included)
// and the user is told so, a damaged one after its bytes were kept as <name>.usr.bak. An unreadable
// one is left as it is, the user is told so and gets the defaults, which must not be saved over it.
// *recreated says whether the files were written anew, *found how the record was found.
UserRecord LoadUserRecord(const QString& name, bool* recreated = nullptr, StoredFile* found = nullptr);

// The deciphered password of line 9 (empty = none); false when the record is missing, unreadable, too
// large, shorter than nine lines or its line 9 does not decipher.
bool ReadUserPassword(const QString& name, QString* password);
// The same for the user page, which asks for a password before it looks at the rest of the record: a
// record shorter than nine lines has none, other lines may be damaged.
bool ReadPasswordLine(const QString& name, QString* password);
// The same for the budget page: line 9 deciphered, empty when the record is shorter or the line does not
// decipher. A record shorter than nine lines is no lost record: only a missing one is.
StoredFile ReadRecordPassword(const QString& name, QString* password);

// Writes the default record and the default budget file (1.1.2002 to 31.1.2002), replacing both. The
// record stays written when the budget file fails.
bool CreateUserFiles(const QString& name);
// Asks for a name and creates the user; the name created, or empty when none was.
QString NewUser();
// Deletes the user after asking; refuses Supervisor in any letter case. True when it was deleted.
bool DeleteUser(const QString& name);
// Writes the record of the user shown on the page; the budget file is not touched. False, and nothing
// written, when a value (the password) holds a character outside the code page or the stored record
// exists but cannot be read.
bool SaveUser(const QString& name, const UserRecord& record);

inline const QString USER_RECREATED_MESSAGE = QStringLiteral(
    "Die Speicherdatei dieses Benutzers wurde gelöscht oder beschädigt. Sie wurde neu angelegt, die Angaben für "
    "Zugriffssteuerung und Budget müssen allerdings neu eingestellt werden.");
inline const QString USER_FILES_WRITE_FAILED =
    QStringLiteral("Die Dateien des Benutzers konnten nicht geschrieben werden.");
inline const QString USER_UNREADABLE_MESSAGE =
    QStringLiteral("Die Speicherdatei dieses Benutzers konnte nicht gelesen werden.");

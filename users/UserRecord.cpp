#include "users/UserRecord.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {
const QString NEW_USER_PROMPT = QStringLiteral(
    "Bitte einen Namen für den Benutzer wählen. Wenn Sie den Benutzer mit dem Windows Logon verknüpfen wollen muß "
    "der Name identisch zu dem Windows Logon Namen sein.");
const QString INVALID_NAME = QStringLiteral("Der Name enthält ungültige Zeichen (/ \\ : ? < > | * ? \") oder ist zu "
                                            "lang (>255). Bitte wählen Sie einen anderen Namen.");
const QString DUPLICATE_NAME =
    QStringLiteral("Ein Benutzer mit diesem Namen existiert bereits. Bitte wählen Sie einen anderen Namen.");

// Only blanks are trimmed, as the name box is read.
QString trimBlanks(const QString& text)
{
    qsizetype a = 0, b = text.size();
    while (a < b && text[a] == ' ') ++a;
    while (b > a && text[b - 1] == ' ') --b;
    return text.mid(a, b - a);
}

// The user name is stored enciphered in every record; the cipher knows only the code page's characters.
bool fitsCodePage(const QString& name)
{
    for (QChar c : name)
        if (Win1252::byteFromChar(c) < 0) return false;
    return true;
}

// The name is a file of its own, "<name>.usr", whose name the file system can hold (255 bytes).
bool fitsFileSystem(const QString& name)
{
    return IsSafeName(name) && QFile::encodeName(name + QStringLiteral(".usr")).size() <= 255;
}

bool ensureUserFolder() { return QDir().mkpath(UserFolderPath()); }

bool writeRecord(const QString& name, const UserRecord& record)
{
    // A record that exists but cannot be read still holds its password and restrictions.
    QByteArray stored;
    if (ReadFileBytes(UserRecordPath(name), &stored) == FileRead::Unreadable) return false;
    QStringList lines;
    for (const QString& value : record.plainLines()) {
        // A character outside the code page cannot be enciphered; storing the empty line instead would
        // silently drop a password, so nothing is written.
        const QString line = EncryptString(value);
        if (line.isEmpty() && !value.isEmpty()) return false;
        lines << line;
    }
    return WriteTextLines(UserRecordPath(name), lines, FileAccess::OwnerOnly, FileSync::Durable);
}

// Writes both files of a user. A new user whose budget file fails is removed again; a recreated one
// keeps its record, or the user would vanish from the list.
bool writeUserFiles(const QString& name, const BudgetRecord& budget, bool removeHalfMade)
{
    if (!ensureUserFolder() || !writeRecord(name, UserRecord())) return false;
    if (WriteBudgetRecord(UserBudgetPath(name), budget)) return true;
    if (removeHalfMade) QFile::remove(UserRecordPath(name));
    return false;
}

// A damaged record's bytes are kept beside it before it is written anew; the user list reads *.usr only.
bool keepDamagedRecord(const QString& name)
{
    const QFileInfo record(UserRecordPath(name));
    const QString wanted = record.fileName() + ".bak";
    const QString found = FindFileNoCase(record.path(), wanted);
    const QString backup = record.path() + "/" + (found.isEmpty() ? wanted : found);
    return CopyFileBytes(record.filePath(), backup, FileAccess::OwnerOnly);
}

bool isDuplicate(const QString& name)
{
    const QString wanted = name.toLower();
    for (const QString& file : ListFolder(UserFolderPath())) {
        if (file.size() < 4) continue;
        if (file.left(file.size() - 4).toLower() == wanted) return true;
    }
    return false;
}
} // namespace

QStringList UserRecord::plainLines() const
{
    const auto state = [](int v) { return QString::number(v); };
    return {state(noUserSettings), state(noMonitoringSettings), state(noBudgetSettings), state(noListEdit),
            state(noDialOverBudget), state(noListView), state(dayLimitOn), dayLimitMinutes, password,
            state(monthLimitOn), monthLimitMinutes};
}

QString UserFolderPath() { return ProgramPath(QStringLiteral("Benutzer")); }
QString UserRecordPath(const QString& name)
{
    return IsSafeName(name) ? ProgramPath("Benutzer/" + name + ".usr") : QString();
}

QStringList GetUserNames()
{
    QStringList names;
    for (const QString& file : ListFolder(UserFolderPath(), QStringLiteral("*.usr"))) names << file.chopped(4);
    return names;
}

namespace {
// Line 9 of the record as stored, how the file was found and how many lines it has.
FileRead readPasswordLine(const QString& name, QString* line, qsizetype* count)
{
    const QString path = UserRecordPath(name);
    if (path.isEmpty()) return FileRead::Missing;
    FileRead state = FileRead::Missing;
    const QStringList lines = ReadTextLines(path, &state);
    *count = lines.size();
    *line = lines.value(8);
    return state;
}

bool readPassword(const QString& name, bool shortHasNone, QString* password)
{
    QString line;
    qsizetype count = 0;
    if (readPasswordLine(name, &line, &count) != FileRead::Ok || (count < 9 && !shortHasNone)) return false;
    *password = DecryptString(line);
    return line.isEmpty() || !password->isEmpty();
}
} // namespace

bool ReadUserPassword(const QString& name, QString* password) { return readPassword(name, false, password); }
bool ReadPasswordLine(const QString& name, QString* password) { return readPassword(name, true, password); }

StoredFile ReadRecordPassword(const QString& name, QString* password)
{
    password->clear();
    QString line;
    qsizetype count = 0;
    const FileRead state = readPasswordLine(name, &line, &count);
    if (state == FileRead::Missing) return StoredFile::Missing;
    if (state != FileRead::Ok) return StoredFile::Unreadable;
    *password = DecryptString(line);
    return StoredFile::Ok;
}

StoredFile ReadUserRecord(const QString& name, UserRecord& out)
{
    FileRead state = FileRead::Missing;
    const QStringList stored = ReadTextLines(UserRecordPath(name), &state);
    if (state == FileRead::Missing) return StoredFile::Missing;
    if (state == FileRead::Unreadable) return StoredFile::Unreadable;
    if (state == FileRead::TooLarge) return StoredFile::Damaged;
    QStringList lines;
    for (int i = 0; i < 11; ++i) {
        const QString raw = i < stored.size() ? stored[i] : QString();
        const QString plain = DecryptString(raw);
        if (!raw.isEmpty() && plain.isEmpty()) return StoredFile::Damaged;
        lines << plain;
    }
    UserRecord r;
    int* flags[] = {&r.noUserSettings, &r.noMonitoringSettings, &r.noBudgetSettings, &r.noListEdit,
                    &r.noDialOverBudget, &r.noListView, &r.dayLimitOn};
    for (int i = 0; i < 7; ++i) {
        const double v = std::nearbyint(Val(lines[i]));
        if (v < 0 || v > 2) return StoredFile::Damaged; // no check box state
        *flags[i] = int(v);
    }
    const double month = std::nearbyint(Val(lines[9]));
    if (month < 0 || month > 2) return StoredFile::Damaged;
    r.monthLimitOn = int(month);
    // The minutes the limit check holds in force: a whole number in the 32-bit range, which reads back as
    // itself. Their general form would not: "1,5" reads back as 1, "1E+20" as 1 and an overflow's "INF" as 0.
    const auto minutes = [](const QString& line) { return QString::number(CInt(Val(line))); };
    r.dayLimitMinutes = minutes(lines[7]);
    r.password = lines[8];
    r.monthLimitMinutes = minutes(lines[10]);
    out = r;
    return StoredFile::Ok;
}

UserRecord LoadUserRecord(const QString& name, bool* recreated, StoredFile* found)
{
    UserRecord record;
    const StoredFile state = ReadUserRecord(name, record);
    if (found) *found = state;
    if (recreated) *recreated = false;
    if (state == StoredFile::Ok) return record;
    if (state == StoredFile::Unreadable) {
        // Its password and restrictions are still in it: writing the defaults over it would drop them.
        MsgBox(USER_UNREADABLE_MESSAGE, vbOKOnly + vbExclamation);
        return UserRecord();
    }
    const bool written = (state != StoredFile::Damaged || keepDamagedRecord(name)) && CreateUserFiles(name);
    if (recreated) *recreated = written;
    MsgBox(written ? USER_RECREATED_MESSAGE : USER_FILES_WRITE_FAILED, vbOKOnly + vbExclamation);
    return UserRecord();
}

bool CreateUserFiles(const QString& name) { return writeUserFiles(name, BudgetRecord::createdDefaults(), false); }

QString NewUser()
{
    for (;;) {
        const QString name = trimBlanks(InputBox(NEW_USER_PROMPT, APP_TITLE, QString()));
        if (name.isEmpty()) return {};
        if (!IsValidFileName(name) || !fitsCodePage(name) || !fitsFileSystem(name)) {
            MsgBox(INVALID_NAME, vbOKOnly + vbExclamation);
            return {};
        }
        if (isDuplicate(name)) {
            MsgBox(DUPLICATE_NAME, vbOKOnly + vbExclamation);
            continue;
        }
        if (!writeUserFiles(name, BudgetRecord::newUserDefaults(), true)) {
            MsgBox(USER_FILES_WRITE_FAILED, vbOKOnly + vbExclamation);
            return {};
        }
        return name;
    }
}

bool DeleteUser(const QString& name)
{
    if (name.isEmpty()) return false;
    if (name.toLower() == SUPERVISOR.toLower()) {
        MsgBox(QStringLiteral("Der Supervisor kann nicht gelöscht werden."), vbOKOnly + vbExclamation);
        return false;
    }
    if (MsgBox(QStringLiteral("Soll der gewählte Benutzer wirklich gelöscht werden?"), vbYesNo + vbQuestion) != vbYes)
        return false;
    QFile::remove(UserRecordPath(name));
    QFile::remove(UserBudgetPath(name));
    return true;
}

bool SaveUser(const QString& name, const UserRecord& record)
{
    if (name.isEmpty()) return false;
    return ensureUserFolder() && writeRecord(name, record);
}

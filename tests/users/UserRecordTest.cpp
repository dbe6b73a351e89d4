#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "users/BudgetFiles.h"
#include "users/DialUpFiles.h"
#include "users/UserRecord.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {
const QString INVALID_NAME_TEXT = QString::fromUtf8("Der Name enthält ungültige Zeichen (/ \\ : ? < > | * ? \") oder ist "
                                                    "zu lang (>255). Bitte wählen Sie einen anderen Namen.");
const QString DUPLICATE_TEXT =
    QStringLiteral("Ein Benutzer mit diesem Namen existiert bereits. Bitte wählen Sie einen anderen Namen.");
const QStringList DEFAULT_LINES{"0", "0", "0", "0", "0", "0", "0", "60", "", "0", "600"};

class UserRecordTest : public ProgramTest {
protected:
    void writeUser(const QString& name, const QStringList& plain) { writeCipher("Benutzer/" + name + ".usr", plain); }
};
} // namespace

TEST_F(UserRecordTest, NewUserWritesTheDefaultFiles)
{
    dialogs.answerInput("  Anna ");
    EXPECT_EQ(NewUser(), "Anna");
    ASSERT_EQ(dialogs.inputs.size(), 1);
    EXPECT_EQ(dialogs.inputs[0].prompt,
              QString::fromUtf8("Bitte einen Namen für den Benutzer wählen. Wenn Sie den Benutzer mit dem Windows "
                                "Logon verknüpfen wollen muß der Name identisch zu dem Windows Logon Namen sein."));
    EXPECT_EQ(dialogs.inputs[0].title, "Zumbrel");
    EXPECT_EQ(deciphered("Benutzer/Anna.usr"), DEFAULT_LINES);
    EXPECT_TRUE(readFile("Benutzer/Anna.usr").startsWith(FromHex("93 64 0d 0a 93 64 0d 0a")));
    EXPECT_EQ(readFile("Benutzer/Anna.bdg"), QByteArray(" 0\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n"));
    EXPECT_EQ(syncedFolders, QStringList({"Benutzer", "Benutzer"})); // the record, then the budget file
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(GetUserNames(), QStringList({"Anna"}));
    dialogs.answerInput("ANNA");
    EXPECT_EQ(NewUser(), QString());
    EXPECT_EQ(dialogs.texts(), QStringList({DUPLICATE_TEXT}));
    EXPECT_EQ(GetUserNames(), QStringList({"Anna"}));
}

TEST_F(UserRecordTest, NewUserRefusesDuplicatesInAnyCaseAndAsksAgain)
{
    ASSERT_TRUE(CreateUserFiles("Supervisor"));
    writeFile("Benutzer/Budget.dat", " 0\r\n");
    for (const char* taken : {"SUPERVISOR", "supervisor", "budget"}) {
        dialogs.answerInput(taken);
        dialogs.answerInput(""); // cancel the box shown again
        EXPECT_EQ(NewUser(), QString()) << taken;
    }
    EXPECT_EQ(dialogs.texts(), QStringList({DUPLICATE_TEXT, DUPLICATE_TEXT, DUPLICATE_TEXT}));
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(dialogs.inputs.size(), 6);

    dialogs.answerInput("ANNA.");
    EXPECT_EQ(NewUser(), "ANNA.");
    EXPECT_TRUE(exists("Benutzer/ANNA..usr"));
    dialogs.answerInput("anna.");
    dialogs.answerInput("Bernd");
    EXPECT_EQ(NewUser(), "Bernd");
    EXPECT_EQ(GetUserNames(), QStringList({"ANNA.", "Bernd", "Supervisor"}));
}

TEST_F(UserRecordTest, NewUserRefusesInvalidNamesOnce)
{
    // names that are no file name of their own, or whose "<name>.usr" exceeds the file system's 255 bytes
    const QString bads[] = {QString("a/b"),        QString("x?"),          QString(256, 'n'), QString::fromUtf8("Łukasz"),
                            QString("."),          QString(".."),          QString(252, 'n'), QString(126, QChar(0xE4))};
    for (const QString& bad : bads) {
        dialogs.messages.clear();
        dialogs.answerInput(bad);
        EXPECT_EQ(NewUser(), QString()) << bad.size();
        EXPECT_EQ(dialogs.texts(), QStringList({INVALID_NAME_TEXT})) << bad.size();
    }
    EXPECT_EQ(dialogs.inputs.size(), 8); // not asked again
    dialogs.answerInput("   ");
    EXPECT_EQ(NewUser(), QString());
    EXPECT_FALSE(exists("Benutzer"));
    dialogs.answerInput(QString(251, 'n')); // the longest that fits
    EXPECT_EQ(NewUser(), QString(251, 'n'));
    EXPECT_EQ(GetUserNames(), QStringList{QString(251, 'n')});
}

TEST_F(UserRecordTest, DeleteUserAsksAndNeverDeletesSupervisor)
{
    ASSERT_TRUE(CreateUserFiles("Supervisor"));
    for (const char* name : {"supervisor", "SuperVisor", "Supervisor"}) EXPECT_FALSE(DeleteUser(name));
    EXPECT_EQ(dialogs.texts(), QStringList(3, QString::fromUtf8("Der Supervisor kann nicht gelöscht werden.")));
    EXPECT_TRUE(exists("Benutzer/Supervisor.usr"));

    ASSERT_TRUE(CreateUserFiles("Anna"));
    dialogs.messages.clear();
    dialogs.answerMessage(vbNo);
    EXPECT_FALSE(DeleteUser("Anna"));
    EXPECT_EQ(dialogs.texts(), QStringList({QString::fromUtf8("Soll der gewählte Benutzer wirklich gelöscht werden?")}));
    EXPECT_EQ(dialogs.messages[0].style, vbYesNo + vbQuestion);
    EXPECT_TRUE(exists("Benutzer/Anna.usr"));
    dialogs.answerMessage(vbYes);
    EXPECT_TRUE(DeleteUser("anna")); // the files are found in any letter case
    EXPECT_FALSE(exists("Benutzer/Anna.usr"));
    EXPECT_FALSE(exists("Benutzer/Anna.bdg"));
    EXPECT_FALSE(DeleteUser(""));
}

TEST_F(UserRecordTest, SaveUserWritesThePageValues)
{
    UserRecord r;
    r.noUserSettings = 1;
    r.noListView = 1;
    r.dayLimitOn = 1;
    r.dayLimitMinutes = "45";
    r.password = "Geheim öffnen";
    r.monthLimitOn = 1;
    r.monthLimitMinutes = "900";
    EXPECT_FALSE(SaveUser("", r));
    writeFile("Benutzer/Anna.bdg", "25\r\n");
    syncedFolders.clear();
    ASSERT_TRUE(SaveUser("Anna", r));
    EXPECT_EQ(syncedFolders, QStringList({"Benutzer"}));
    EXPECT_EQ(deciphered("Benutzer/Anna.usr"),
              QStringList({"1", "0", "0", "0", "0", "1", "1", "45", "Geheim öffnen", "1", "900"}));
    EXPECT_EQ(readFile("Benutzer/Anna.bdg"), QByteArray("25\r\n"));
    UserRecord back;
    ASSERT_EQ(ReadUserRecord("ANNA", back), StoredFile::Ok);
    EXPECT_EQ(back, r);
    // a password the cipher cannot hold must not turn into no password
    const QByteArray before = readFile("Benutzer/Anna.usr");
    r.password = QString::fromUtf8("Łódź");
    EXPECT_FALSE(SaveUser("Anna", r));
    EXPECT_EQ(readFile("Benutzer/Anna.usr"), before);
}

TEST_F(UserRecordTest, NamesThatWouldLeaveBenutzerAreNeverRead)
{
    writeUser("Anna", {"1", "0", "0", "0", "0", "0", "0", "60", "", "0", "600"});
    writeFile("Benutzer/Anna.bdg", "10\r\n20\r\n30\r\n01.01.2005\r\n31.01.2005\r\n");
    writeFile("a.usr", "x\r\n");
    const QByteArray usr = readFile("Benutzer/Anna.usr"), bdg = readFile("Benutzer/Anna.bdg");
    UserRecord r;
    BudgetRecord b;
    for (const char* name : {"../Benutzer/Anna", "../a", "..", ".", "Sub/Anna"}) {
        EXPECT_EQ(UserRecordPath(name), "") << name;
        EXPECT_EQ(UserBudgetPath(name), "") << name;
        EXPECT_EQ(ReadUserRecord(name, r), StoredFile::Missing) << name;
        EXPECT_EQ(ReadBudgetRecord(UserBudgetPath(name), b), StoredFile::Missing) << name;
        EXPECT_FALSE(SaveUser(name, r)) << name;
        EXPECT_FALSE(CreateUserFiles(name)) << name;
        EXPECT_FALSE(WriteBudgetRecord(UserBudgetPath(name), b)) << name;
    }
    EXPECT_EQ(readFile("Benutzer/Anna.usr"), usr);
    EXPECT_EQ(readFile("Benutzer/Anna.bdg"), bdg);
    EXPECT_EQ(readFile("a.usr"), "x\r\n");
    EXPECT_EQ(QDir(path("Benutzer")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"Anna.bdg", "Anna.usr"}));
}

TEST_F(UserRecordTest, ReadingShortAndDamagedRecords)
{
    UserRecord r;
    writeUser("Kurz", {"1", "0", "0", "0", "0", "0", "1", "30abc"});
    ASSERT_EQ(ReadUserRecord("Kurz", r), StoredFile::Ok);
    EXPECT_EQ(r.plainLines(), QStringList({"1", "0", "0", "0", "0", "0", "1", "30", "", "0", "0"}));
    EXPECT_EQ(ReadUserRecord("Fehlt", r), StoredFile::Missing);

    writeUser("Kaputt", {"5", "0", "0", "0", "0", "0", "0", "60", "", "0", "600"});
    writeFile("Benutzer/Kaputt.bdg", "10\r\n20\r\n30\r\n01.01.2005\r\n31.01.2005\r\n");
    bool recreated = false;
    EXPECT_EQ(LoadUserRecord("Kaputt", &recreated), UserRecord());
    EXPECT_TRUE(recreated);
    EXPECT_EQ(dialogs.texts(), QStringList({"Die Speicherdatei dieses Benutzers wurde gelöscht oder beschädigt. Sie "
                                            "wurde neu angelegt, die Angaben für Zugriffssteuerung und Budget müssen "
                                            "allerdings neu eingestellt werden."}));
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(deciphered("Benutzer/Kaputt.usr"), DEFAULT_LINES);
    EXPECT_EQ(readFile("Benutzer/Kaputt.bdg"), QByteArray(" 0\r\n 0\r\n 0\r\n1.1.2002\r\n31.1.2002\r\n"));

    writeFile("Benutzer/Roh.usr", "nicht verschl\xfcsselt\r\n"); // a line that does not decipher
    EXPECT_EQ(ReadUserRecord("Roh", r), StoredFile::Damaged);
    LoadUserRecord("Neu", &recreated); // a missing record is created
    EXPECT_TRUE(recreated);
    EXPECT_TRUE(exists("Benutzer/Neu.usr"));
    EXPECT_EQ(LoadUserRecord("Kurz", &recreated).dayLimitOn, 1);
    EXPECT_FALSE(recreated);
}

TEST_F(UserRecordTest, UnreadableRecordIsLeftAsItIs)
{
    const QString unreadable = QStringLiteral("Die Speicherdatei dieses Benutzers konnte nicht gelesen werden.");
    const QByteArray budget = "10\r\n20\r\n30\r\n01.01.2005\r\n31.01.2005\r\n";
    // a folder in its place, with a file in it
    writeFile("Benutzer/Ordner.usr/inhalt", "x");
    writeFile("Benutzer/Ordner.bdg", budget);
    const bool asRoot = geteuid() == 0; // root reads every file: the locked record is left out
    QByteArray locked;
    if (!asRoot) {
        writeUser("Gesperrt", {"1", "1", "1", "1", "1", "1", "1", "30", "geheim", "1", "300"});
        writeFile("Benutzer/Gesperrt.bdg", budget);
        locked = readFile("Benutzer/Gesperrt.usr");
        ASSERT_TRUE(QFile(path("Benutzer/Gesperrt.usr")).setPermissions(QFileDevice::Permissions()));
    }
    for (const QString name : {"Ordner", "Gesperrt"}) {
        if (asRoot && name == "Gesperrt") continue;
        dialogs.messages.clear();
        bool recreated = true;
        StoredFile found = StoredFile::Ok;
        EXPECT_EQ(LoadUserRecord(name, &recreated, &found), UserRecord()) << name.toStdString();
        EXPECT_FALSE(recreated) << name.toStdString();
        EXPECT_EQ(found, StoredFile::Unreadable) << name.toStdString();
        EXPECT_EQ(dialogs.texts(), QStringList({unreadable})) << name.toStdString();
        EXPECT_EQ(dialogs.messages.value(0).style, vbOKOnly + vbExclamation);
        EXPECT_EQ(readFile("Benutzer/" + name + ".bdg"), budget) << name.toStdString();
        EXPECT_FALSE(exists("Benutzer/" + name + ".usr.bak")) << name.toStdString();
        EXPECT_FALSE(SaveUser(name, UserRecord())) << name.toStdString(); // the defaults go nowhere either
    }
    EXPECT_TRUE(QFileInfo(path("Benutzer/Ordner.usr")).isDir());
    EXPECT_EQ(readFile("Benutzer/Ordner.usr/inhalt"), QByteArray("x"));
    if (!asRoot) {
        QFile record(path("Benutzer/Gesperrt.usr"));
        EXPECT_EQ(record.permissions(), QFileDevice::Permissions());
        ASSERT_TRUE(record.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        EXPECT_EQ(readFile("Benutzer/Gesperrt.usr"), locked);
    }
}

TEST_F(UserRecordTest, DamagedRecordIsKeptBesideItsNewOne)
{
    writeUser("Flag", {"5", "0", "0", "0", "0", "0", "0", "60", "geheim", "0", "600"}); // no check box state
    const std::pair<QString, QByteArray> cases[] = {
        {"Flag", readFile("Benutzer/Flag.usr")},
        {"Roh", "nicht verschl\xfcsselt\r\n"},
        {"Lang", QByteArray(70 * 1024, char(150))}, // over the cap
    };
    for (const auto& [name, old] : cases) {
        dialogs.messages.clear();
        writeFile("Benutzer/" + name + ".usr", old);
        writeFile("Benutzer/" + name + ".usr.BAK", "ein \xe4lterer"); // replaced, in its letter case
        bool recreated = false;
        StoredFile found = StoredFile::Ok;
        EXPECT_EQ(LoadUserRecord(name, &recreated, &found), UserRecord()) << name.toStdString();
        EXPECT_TRUE(recreated) << name.toStdString();
        EXPECT_EQ(found, StoredFile::Damaged) << name.toStdString();
        EXPECT_EQ(readFile("Benutzer/" + name + ".usr.BAK"), old) << name.toStdString();
        EXPECT_EQ(deciphered("Benutzer/" + name + ".usr"), DEFAULT_LINES) << name.toStdString();
        ASSERT_EQ(dialogs.messages.size(), 1) << name.toStdString();
        EXPECT_TRUE(dialogs.texts()[0].contains("Sie wurde neu angelegt")) << name.toStdString();
    }
    EXPECT_EQ(GetUserNames(), QStringList({"Flag", "Lang", "Roh"})); // the kept copies are no users
}

TEST_F(UserRecordTest, RecreationThatCannotWriteSaysSo)
{
    const QString failed = QStringLiteral("Die Dateien des Benutzers konnten nicht geschrieben werden.");
    writeFile("Benutzer/Neu.bdg/inhalt", "x"); // the budget file cannot be written
    bool recreated = true;
    StoredFile found = StoredFile::Ok;
    LoadUserRecord("Neu", &recreated, &found);
    EXPECT_FALSE(recreated);
    EXPECT_EQ(found, StoredFile::Missing);
    EXPECT_EQ(dialogs.texts(), QStringList({failed}));
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(deciphered("Benutzer/Neu.usr"), DEFAULT_LINES); // the user stays listed
    EXPECT_EQ(GetUserNames(), QStringList({"Neu"}));

    // a damaged record whose copy cannot be made is not written over
    writeFile("Benutzer/Alt.usr", "kaputt\r\n");
    writeFile("Benutzer/Alt.usr.bak/inhalt", "x");
    dialogs.messages.clear();
    LoadUserRecord("Alt", &recreated, &found);
    EXPECT_FALSE(recreated);
    EXPECT_EQ(found, StoredFile::Damaged);
    EXPECT_EQ(dialogs.texts(), QStringList({failed}));
    EXPECT_EQ(readFile("Benutzer/Alt.usr"), QByteArray("kaputt\r\n"));
}

TEST_F(UserRecordTest, ANewUserWhoseBudgetFileFailsIsRemovedAgain)
{
    ASSERT_TRUE(QDir().mkpath(path("Benutzer/Anna.bdg")));
    dialogs.answerInput("Anna");
    EXPECT_EQ(NewUser(), QString());
    EXPECT_EQ(dialogs.texts(), QStringList({USER_FILES_WRITE_FAILED}));
    EXPECT_FALSE(exists("Benutzer/Anna.usr"));
}

// Passwords are stored under a reversible cipher: every file holding one is the owner's alone.
TEST_F(UserRecordTest, FilesHoldingPasswordsAreOwnerOnly)
{
    const auto mode = [this](const QString& relative) { return int(QFile::permissions(path(relative))); };
    const int ownerOnly = int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    const mode_t old = ::umask(022);
    writeUser("Supervisor", DEFAULT_LINES);
    QFile::setPermissions(path("Benutzer/Supervisor.usr"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                                               QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_TRUE(SaveUser("Supervisor", UserRecord()));
    EXPECT_TRUE(SaveUser("Neu", UserRecord()));
    writeFile("Benutzer/Roh.usr", "nicht verschl\xfcsselt\r\n"); // damaged: kept as .usr.bak
    LoadUserRecord("Roh");
    EntryCredentials credentials{"0123", "anna", "geheim"};
    EXPECT_EQ(SaveEntryCredentials("T-Online", credentials), EntrySaved::Saved);
    writeFile("DialUp/Alt.dat", "0\r\n");
    EXPECT_EQ(SaveEntryCredentials("Alt", credentials), EntrySaved::Saved);
    ::umask(old);
    for (const char* file : {"Benutzer/Supervisor.usr", "Benutzer/Neu.usr", "Benutzer/Roh.usr", "Benutzer/Roh.usr.bak",
                             "DialUp/T-Online.dat", "DialUp/Alt.dat"})
        EXPECT_EQ(mode(file), ownerOnly) << file;
    EXPECT_EQ(readFile("Benutzer/Roh.usr.bak"), "nicht verschl\xfcsselt\r\n");
}

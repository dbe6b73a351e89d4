#include "core/LineCipher.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"
#include "core/Win1252.h"
#include "recording/ConnectionRecord.h"
#include "recording/RunningRecord.h"

#include "support/TestSupport.h"

#include <QDir>

#include <functional>

namespace {
class ConnectionRecordTest : public ProgramTest {
protected:
    void TearDown() override
    {
        SetConnectionListRefresh(nullptr);
        ProgramTest::TearDown();
    }
    static ConnectionDisplay display()
    {
        ConnectionDisplay d;
        d.startDateTag = "17012001";
        d.startTime = "08:05:09";
        d.duration = "00:12:30";
        d.cost = "1,25 €";
        d.units = "13 (60)";
        d.bytesIn = "1.234.567 Bytes";
        d.bytesOut = "89.012 Bytes";
        d.bytesTotal = "1.323.579 Bytes";
        d.connectionName = "Netz Einwahl";
        d.tariff = "Netz - Abend.atl";
        d.user = "Anna";
        return d;
    }
    QStringList record() const { return deciphered("Verbindungen/17012001-080509.con"); }
    // A minute of the recording, as its writer stores it; false when nothing was stored.
    static bool writeRunning(const ConnectionDisplay& shown)
    {
        StoredRecord stored;
        return FormRecord(shown, stored) == 0 && WriteRunningLines(RunningRecordPath(), stored);
    }
};
} // namespace

TEST_F(ConnectionRecordTest, WritesTheElevenLinesFromTheDisplay)
{
    ASSERT_TRUE(SaveConnectionRecord(display())); // the folder does not exist yet
    EXPECT_EQ(record(),
              QStringList({"S17.01.2001", "08:05:09", "00:12:30", "S1,25", "13", "1234567", "89012", "1323579",
                           "Netz Einwahl", "Netz - Abend.atl", "Anna"}));
    const QByteArray bytes = readFile("Verbindungen/17012001-080509.con");
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 11);
    EXPECT_EQ(syncedFolders, QStringList({"Verbindungen"})); // the new name outlives a power cut
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ConnectionRecordTest, DisplayFormsOfTheValues)
{
    const struct {
        const char *cost, *units, *bytes, *duration, *line4, *line5, *line6;
    } cases[] = {
        {"0 (1,23 €)", "5 (60)", "0 Bytes", "25:00:07", "S0,00", "5", "0"}, // inside the free time
        {"2,675 €", "sek.genau", "Bytes", "100:00:00", "S2,68", "0", "0"},  // too short for its suffix
        {"0,5 €", "0 (1)", "12 345 Bytes", "00:00:01", "S0,50", "0", "0"},   // no count
        {"12.5 €", "7", "4.294.967.296 Bytes", "01:00:00", "S12,50", "7", "4294967296"},
    };
    for (const auto& c : cases) {
        ConnectionDisplay d = display();
        d.cost = c.cost;
        d.units = c.units;
        d.bytesIn = c.bytes;
        d.duration = c.duration;
        ASSERT_TRUE(SaveConnectionRecord(d));
        EXPECT_EQ(record().mid(2, 4), QStringList({c.duration, c.line4, c.line5, c.line6})) << c.cost;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ConnectionRecordTest, SameSecondReplacesAndNothingStartedWritesNothing)
{
    ASSERT_TRUE(SaveConnectionRecord(display()));
    ConnectionDisplay d = display();
    d.user = "Bernd";
    ASSERT_TRUE(SaveConnectionRecord(d));
    EXPECT_EQ(ListRecordFiles(), QStringList({"17012001-080509.con"}));
    EXPECT_EQ(record().value(10), "Bernd");

    d.startDateTag.clear();
    EXPECT_FALSE(SaveConnectionRecord(d));
    EXPECT_EQ(ListRecordFiles().size(), 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ConnectionRecordTest, FailuresNameTheirStage)
{
    ConnectionDisplay d = display();
    d.startTime = "kein Start";
    EXPECT_FALSE(SaveConnectionRecord(d));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode 1.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbCritical);
    EXPECT_TRUE(ListRecordFiles().isEmpty());

    // the record's place is taken by a folder: the write fails and nothing half-written is left
    QDir().mkpath(path("Verbindungen/17012001-080509.con/x"));
    EXPECT_FALSE(SaveConnectionRecord(display()));
    EXPECT_EQ(dialogs.texts().value(1), "Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode 2.");
    EXPECT_EQ(QDir(path("Verbindungen")).entryList(QDir::Files).size(), 0);

    // texts the cipher cannot hold fall back as the stages say
    QDir(path("Verbindungen/17012001-080509.con")).removeRecursively();
    d = display();
    d.connectionName = QString::fromUtf8("Verbindung \u4e2d");
    ASSERT_TRUE(SaveConnectionRecord(d));
    EXPECT_EQ(record().value(8), "Default");
    EXPECT_EQ(dialogs.messages.size(), 2);
}

// The list page registers its reload while it lives and decides itself whether it is open (ListPageTest).
TEST_F(ConnectionRecordTest, RefreshesTheRegisteredList)
{
    int refreshed = 0;
    bool succeed = true;
    ASSERT_TRUE(SaveConnectionRecord(display())); // none registered
    SetConnectionListRefresh([&] { return ++refreshed, succeed; });
    ASSERT_TRUE(SaveConnectionRecord(display()));
    EXPECT_EQ(refreshed, 1);
    succeed = false;
    EXPECT_TRUE(SaveConnectionRecord(display())); // the record itself is complete
    EXPECT_EQ(dialogs.texts(), QStringList({"Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode 4."}));
    SetConnectionListRefresh(nullptr);
    ASSERT_TRUE(SaveConnectionRecord(display()));
    EXPECT_EQ(refreshed, 2);
}

TEST_F(ConnectionRecordTest, HandEnteredRecordHasTheCommentLine)
{
    ConnectionRecord r;
    r.startDate = "03.02.2001";
    r.startTime = "23:59:59";
    r.connectionName = "Keine DFÜ Verbindung";
    const QString name = ConnectionRecordFileName(QDate(2001, 2, 3), QTime(23, 59, 59));
    EXPECT_EQ(name, "03022001-235959.con");
    writeFile("Verbindungen/03022001-235959.CON", "alt"); // the same record in another letter case
    RecordLines read;
    for (const auto& comment : {std::optional<QString>(), std::optional<QString>("Rechnung\r\ngeprüft")}) {
        r.comment = comment;
        syncedFolders.clear();
        ASSERT_TRUE(WriteConnectionRecord(name, r));
        EXPECT_EQ(syncedFolders, QStringList({"Verbindungen"}));
        EXPECT_EQ(ListRecordFiles(), QStringList({"03022001-235959.CON"}));
        ASSERT_TRUE(ReadRecord("03022001-235959.CON", read));
        EXPECT_EQ(read.count(), comment ? 12 : 11);
        EXPECT_EQ(read.line(12), comment.value_or(QString()));
    }
    EXPECT_EQ(read.line(1), "S03.02.2001");
    EXPECT_EQ(read.line(9), "Keine DFÜ Verbindung");
    r.comment = QString();
    ASSERT_TRUE(WriteConnectionRecord(name, r));
    EXPECT_TRUE(readFile("Verbindungen/03022001-235959.CON").endsWith("\r\n\r\n")); // an empty comment line
    r.comment = QString::fromUtf8("Łódź"); // the cipher cannot hold it: refused, the stored record stays
    EXPECT_FALSE(WriteConnectionRecord(name, r));
    EXPECT_TRUE(readFile("Verbindungen/03022001-235959.CON").endsWith("\r\n\r\n"));
}

TEST_F(ConnectionRecordTest, RunningRecordBecomesItsRecordAtTheNextStart)
{
    // the running file holds the very bytes that the stop stores, outside the walks' folder
    ASSERT_TRUE(writeRunning(display()));
    EXPECT_EQ(syncedFolders, QStringList({"Config"}));
    EXPECT_TRUE(ListRecordFiles().isEmpty());
    const QByteArray running = readFile(RUNNING_RECORD_FILE);
    ASSERT_TRUE(SaveConnectionRecord(display()));
    EXPECT_EQ(readFile("Verbindungen/17012001-080509.con"), running);
    ConnectionDisplay d = display();
    d.startDateTag.clear(); // nothing started: nothing to keep
    EXPECT_FALSE(writeRunning(d));

    const auto runningFrom = [](const ConnectionDisplay& shown) { return [shown] { writeRunning(shown); }; };
    ConnectionDisplay noDate = display();
    noDate.startDateTag = "32012001";
    ConnectionDisplay nine = display();
    nine.startTime = "09:00:00";
    const QStringList lines = deciphered(RUNNING_RECORD_FILE);
    QStringList noTime = lines;
    noTime[1] = "kein Start";
    QStringList longer = lines;
    longer[2] = "00:20:00";
    const auto withRecord = [&](const QString& entry, std::function<void()> make) {
        return [entry, make, &lines, this] {
            make();
            if (!entry.isEmpty()) writeCipher(entry, lines);
            writeRunning(display());
        };
    };
    const auto linkTo = [&](const QString& target, const QString& link) {
        QDir().mkpath(QFileInfo(path(link)).absolutePath());
        ASSERT_TRUE(QFile::link(path(target), path(link)));
    };
    using R = RunningRecovery;
    const QString name = "Verbindungen/17012001-080509.CON";
    const struct {
        const char* what;
        std::function<void()> make;
        QList<RunningRecovery> result;
        QStringList records; // Verbindungen afterwards
        QStringList config;  // Config afterwards
        QString holder;      // what holds the running file's bytes afterwards
    } cases[] = {
        {"a crash", runningFrom(display()), {R::Stored}, {"17012001-080509.con"}, {},
         "Verbindungen/17012001-080509.con"},
        {"a whole record of that name", withRecord({}, [&] { writeCipher(name, longer); }), {R::Dropped},
         {"17012001-080509.CON"}, {}, {}},
        {"an empty file of that name", withRecord({}, [&] { writeFile(name, ""); }), {R::Stored},
         {"17012001-080509.CON"}, {}, name},
        {"a file of that name that is no record", withRecord({}, [&] { writeFile(name, "fertig"); }), {R::Kept},
         {"17012001-080509.CON"}, {"Recording.run.1"}, "Config/Recording.run.1"},
        {"a folder of that name", withRecord({}, [&] { QDir().mkpath(path(name)); }), {R::Kept}, {},
         {"Recording.run.1"}, "Config/Recording.run.1"},
        {"a link of that name to nowhere",
         withRecord({}, [&] { linkTo("draussen.con", name); }),
         {R::Kept}, {}, {"Recording.run.1"}, "Config/Recording.run.1"},
        {"a link of that name to a record",
         withRecord("Extern/a.con", [&] { linkTo("Extern/a.con", name); }),
         {R::Kept}, {"17012001-080509.CON"}, {"Recording.run.1"}, "Config/Recording.run.1"},
        {"ten lines", [&] { writeCipher(RUNNING_RECORD_FILE, lines.mid(0, 10)); }, {R::SetAside}, {},
         {"Recording.run.damaged"}, "Config/Recording.run.damaged"},
        {"twelve lines", [&] { writeCipher(RUNNING_RECORD_FILE, lines + QStringList{"Notiz"}); }, {R::SetAside}, {},
         {"Recording.run.damaged"}, "Config/Recording.run.damaged"},
        {"no date", runningFrom(noDate), {R::SetAside}, {}, {"Recording.run.damaged"}, "Config/Recording.run.damaged"},
        {"no time", [&] { writeCipher(RUNNING_RECORD_FILE, noTime); }, {R::SetAside}, {}, {"Recording.run.damaged"},
         "Config/Recording.run.damaged"},
        {"over the cap", [&] { writeFile(RUNNING_RECORD_FILE, QByteArray(DATA_FILE_CAP + 1, 'x')); }, {R::SetAside},
         {}, {"Recording.run.damaged"}, "Config/Recording.run.damaged"},
        {"an earlier damaged one",
         [&] {
             writeFile("Config/Recording.run.Damaged", "alt");
             writeFile(RUNNING_RECORD_FILE, "\xff\r\n");
         },
         {R::SetAside}, {}, {"Recording.run.Damaged", "Recording.run.damaged.2"}, "Config/Recording.run.damaged.2"},
        {"a running file that is a link",
         [&] {
             writeCipher("Extern/b.con", lines);
             linkTo("Extern/b.con", RUNNING_RECORD_FILE);
         },
         {R::SetAside}, {}, {"Recording.run.damaged"}, "Config/Recording.run.damaged"},
        {"no folder for the record", withRecord({}, [&] { writeFile("Verbindungen", "keine Mappe"); }), {R::Kept}, {},
         {"Recording.run.1"}, "Config/Recording.run.1"},
        {"a linked record folder",
         withRecord({}, [&] {
             QDir().mkpath(path("Extern"));
             linkTo("Extern", "Verbindungen");
         }),
         {R::Stored}, {"17012001-080509.con"}, {}, "Extern/17012001-080509.con"},
        {"two recordings before, and a damaged one",
         [&] {
             writeFile("Config/Recording.run.damaged", "alt");
             writeRunning(display());
             writeRunning(nine); // the first is no longer this recording's: it goes to Recording.run.1
         },
         {R::Stored, R::Stored}, {"17012001-080509.con", "17012001-090000.con"}, {"Recording.run.damaged"},
         "Verbindungen/17012001-090000.con"},
        {"none", [] {}, {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        for (const char* folder : {"Verbindungen", "Config", "Extern"}) {
            QDir(path(folder)).removeRecursively();
            QFile::remove(path(folder));
        }
        c.make();
        const QByteArray before = readFile(RUNNING_RECORD_FILE);
        const QByteArray stored = readFile(name);
        EXPECT_EQ(RecoverRunningRecord(), c.result) << c.what;
        EXPECT_EQ(ListRecordFiles(), c.records) << c.what;
        EXPECT_EQ(QDir(path("Config")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                  c.config)
            << c.what;
        if (!c.holder.isEmpty()) {
            EXPECT_EQ(readFile(c.holder), before) << c.what;
        }
        if (c.holder != name) { // never replaced but when empty
            EXPECT_EQ(readFile(name), stored) << c.what;
        }
        EXPECT_FALSE(exists("draussen.con")) << c.what;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

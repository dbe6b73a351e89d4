#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/Win1252.h"
#include "support/SmallDisk.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

TEST(Win1252, EveryByteRoundTripsAndTheTableIsRight)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const QString text = Win1252::decode(all);
    EXPECT_EQ(Win1252::encode(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    for (int undefinedByte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text[undefinedByte].unicode(), undefinedByte);
    EXPECT_EQ(Win1252::encode(QStringLiteral("Grüße €")), QByteArray("Gr\xFC\xDF" "e \x80"));
    EXPECT_EQ(Win1252::encode(QStringLiteral("日")), QByteArray("?"));
    EXPECT_EQ(Win1252::encodeStrict(text), all);
    EXPECT_FALSE(Win1252::encodeStrict(QStringLiteral("pass☃")));
    EXPECT_FALSE(Win1252::encodeStrict(QStringLiteral("\U0001F600"))); // each half of a surrogate pair fails
}

class TextFileTest : public ProgramTest {};

TEST_F(TextFileTest, WritesCrlfAndReadsCrlfLfAndLastLineWithoutEnd)
{
    ASSERT_TRUE(WriteTextLines(path("Neu/Tief/a.txt"), {"Gebühr", "", " 5"})); // folders are created
    EXPECT_EQ(readFile("Neu/Tief/a.txt"), QByteArray("Geb\xFChr\r\n\r\n 5\r\n"));
    writeFile("a.txt", "eins\r\nzwei\ndrei");
    EXPECT_EQ(ReadTextLines(path("a.txt")), QStringList({"eins", "zwei", "drei"}));
    writeFile("b.txt", "eins\r\n\r\n");
    EXPECT_EQ(ReadTextLines(path("b.txt")), QStringList({"eins", ""}));
    bool ok = true;
    EXPECT_TRUE(ReadTextLines(path("fehlt.txt"), &ok).isEmpty());
    EXPECT_FALSE(ok);
}

TEST_F(TextFileTest, ALineOutsideTheCodePageLeavesTheOldFile)
{
    writeFile("a.txt", "alt\r\n");
    EXPECT_FALSE(WriteTextLines(path("a.txt"), {"neu", QStringLiteral("pass☃")}));
    EXPECT_EQ(readFile("a.txt"), QByteArray("alt\r\n"));
    EXPECT_FALSE(WriteTextLines(path("b.txt"), {QStringLiteral("日")}));
    EXPECT_FALSE(exists("b.txt"));
    EXPECT_FALSE(WriteTextLines(QString(), {"x"})); // the path of a refused name
}

TEST_F(TextFileTest, DurableWritesSyncTheirFolderAfterTheRename)
{
    const struct {
        std::function<bool()> write;
        QStringList synced;
    } cases[] = {
        {[&] { return WriteTextLines(path("Benutzer/a.usr"), {"x"}, FileAccess::OwnerOnly, FileSync::Durable); },
         {"Benutzer"}},
        {[&] { return WriteFileBytes(path("Verbindungen/b.con"), "y\r\n", FileAccess::Default, FileSync::Durable); },
         {"Verbindungen"}},
        {[&] { return WriteTextLines(path("Config/Note.cfg"), {"oft"}); }, {}}, // settings: the rename alone
        {[&] { return !WriteTextLines(path("Benutzer/c.usr"), {QStringLiteral("☃")}, FileAccess::Default,
                                      FileSync::Durable); },
         {}}, // refused before anything was written
    };
    for (const auto& c : cases) {
        syncedFolders.clear();
        EXPECT_TRUE(c.write());
        EXPECT_EQ(syncedFolders, c.synced);
    }
    // The file is in place before its folder is synced.
    bool inPlace = false;
    SetFolderSyncer([&](const QString& folder) { return inPlace = QFile::exists(folder + "/d.bdg"); });
    ASSERT_TRUE(WriteTextLines(path("Benutzer/d.bdg"), {" 0"}, FileAccess::Default, FileSync::Durable));
    EXPECT_TRUE(inPlace);
    // the real sync, on a real folder
    EXPECT_TRUE(SyncFolder(path("Benutzer")));
    EXPECT_FALSE(SyncFolder(path("fehlt")));
    EXPECT_FALSE(SyncFolder(path("Benutzer/d.bdg")));
}

TEST_F(TextFileTest, ANameThatIsALinkIsNeverWrittenThrough)
{
    writeFile("draussen/alt.cfg", "alt");
    writeFile("Quelle.cfg", "neu");
    QDir().mkpath(path("draussen/Mappe"));
    QDir().mkpath(path("Daten"));
    for (const auto& [target, link] : {std::pair{"draussen/alt.cfg", "Daten/Datei.cfg"},
                                       {"draussen/fehlt.cfg", "Daten/Weg.cfg"},
                                       {"draussen/Mappe", "Daten/Mappe"},
                                       {"Daten", "Verknüpft"}})
        ASSERT_TRUE(QFile::link(path(target), path(link)));
    const std::function<bool(const QString&)> writers[] = {
        [](const QString& to) { return WriteTextLines(to, {"neu"}); },
        [&](const QString& to) { return CopyFileBytes(path("Quelle.cfg"), to); },
    };
    const struct {
        const char* name;
        bool written;
    } cases[] = {
        {"Daten/Datei.cfg", false}, {"Daten/Weg.cfg", false},
        // only the file's own name counts: a linked folder is the folder
        {"Daten/Mappe/a.cfg", true}, {"Verknüpft/b.cfg", true},
    };
    for (const auto& write : writers) {
        for (const auto& c : cases) {
            EXPECT_EQ(write(path(c.name)), c.written) << c.name;
            EXPECT_EQ(QFileInfo(path(c.name)).isSymLink(), !c.written) << c.name;
            if (c.written) {
                EXPECT_EQ(readFile(c.name).left(3), "neu") << c.name;
            }
        }
        EXPECT_EQ(readFile("draussen/alt.cfg"), "alt");
        EXPECT_EQ(QDir(path("draussen")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                  QStringList({"Mappe", "alt.cfg"}));
        EXPECT_EQ(QDir(path("draussen/Mappe")).entryList(QDir::Files), QStringList({"a.cfg"}));
    }
}

TEST_F(TextFileTest, AWriteThatOnlyTheSyncFindsNoRoomForLeavesTheOldFile)
{
    // (a write that finds no room at once: the full-disk table of the recording tests)
    if (!InPrivateMounts()) return;
    SmallDisk disk(dir.path(), SmallDisk::Thin);
    if (!disk.mounted()) GTEST_SKIP() << "no ext2 image on a loop device";
    QTemporaryDir outside;
    const QString source = outside.filePath("Quelle.cfg");
    const std::function<bool(const QByteArray&)> writers[] = {
        [&](const QByteArray& bytes) { return WriteFileBytes(path("a.cfg"), bytes); },
        [&](const QByteArray& bytes) { return WriteFileBytes(source, bytes) && CopyFileBytes(source, path("a.cfg")); },
    };
    for (const auto& write : writers) {
        disk.free();
        ASSERT_TRUE(write("alt"));
        disk.fill();
        EXPECT_FALSE(write(QByteArray(256 * 1024, 'n')));
        EXPECT_EQ(readFile("a.cfg"), "alt");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"a.cfg"}));
    }
}

TEST_F(TextFileTest, LineReaderIsLenient)
{
    writeFile("c.cfg", " 3\r\nabc\r\n");
    const LineReader r(path("c.cfg"));
    EXPECT_TRUE(r.exists());
    EXPECT_EQ(r.number(0), 3);
    EXPECT_EQ(r.number(1), 0);
    EXPECT_EQ(r.line(7), QString());
    EXPECT_FALSE(LineReader(path("fehlt.cfg")).exists());
}

TEST_F(TextFileTest, ListingIsCaseInsensitiveAndSorted)
{
    for (const char* n : {"b.CON", "A.con", "c.txt", "a2.con"}) writeFile(QString("V/") + n, "x");
    EXPECT_EQ(ListFolder(path("V"), "*.con"), QStringList({"A.con", "a2.con", "b.CON"}));
    EXPECT_EQ(FindFileNoCase(path("V"), "c.TXT"), "c.txt");
    EXPECT_EQ(FindFileNoCase(path("V"), "d.txt"), "");
    EXPECT_TRUE(ListFolder(path("fehlt"), "*").isEmpty());
    // a link that leads nowhere is there all the same
    ASSERT_TRUE(QFile::link(path("nirgends"), path("V/Weg.cfg")));
    EXPECT_EQ(FindFileNoCase(path("V"), "Weg.cfg"), "Weg.cfg");
    EXPECT_EQ(FindFileNoCase(path("V"), "WEG.CFG"), "Weg.cfg");
}

TEST_F(TextFileTest, ProgramPathReusesExistingLetterCase)
{
    writeFile("Benutzer/Anna.usr", "x");
    EXPECT_EQ(ProgramPath("benutzer/ANNA.usr"), path("Benutzer/Anna.usr"));
    EXPECT_EQ(ProgramPath("Config/Options.cfg"), path("Config/Options.cfg"));
}

TEST_F(TextFileTest, FilesOverTheCapAreNotReadAndOthersAreFoundAsTheyAre)
{
    QDir().mkpath(path("Ordner.cfg"));
    writeFile("Genau.cfg", QByteArray(DATA_FILE_CAP, 'a'));
    writeFile("Lang.cfg", QByteArray(DATA_FILE_CAP + 1, 'a'));
    writeFile("Tarif.tel", QByteArray(TARIFF_FILE_CAP, 'b'));
    QFile sparse(path("Riesig.con"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(50 * 1024 * 1024));
    sparse.close();
    const QByteArray fifo = QFile::encodeName(path("Rohr.cfg"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("Genau.cfg"), path("Verweis.cfg")));
    const struct {
        const char* name;
        qint64 cap;
        FileRead state;
        qsizetype size;
        FileLinks links = FileLinks::Follow;
    } cases[] = {
        {"Genau.cfg", DATA_FILE_CAP, FileRead::Ok, DATA_FILE_CAP},
        {"Lang.cfg", DATA_FILE_CAP, FileRead::TooLarge, 0},
        {"Tarif.tel", DATA_FILE_CAP, FileRead::TooLarge, 0},
        {"Tarif.tel", TARIFF_FILE_CAP, FileRead::Ok, TARIFF_FILE_CAP},
        {"Riesig.con", DATA_FILE_CAP, FileRead::TooLarge, 0},
        {"Fehlt.cfg", DATA_FILE_CAP, FileRead::Missing, 0},
        {"Fehlt/a.cfg", DATA_FILE_CAP, FileRead::Missing, 0},
        {"Genau.cfg/a.cfg", DATA_FILE_CAP, FileRead::Missing, 0},
        {"Ordner.cfg", DATA_FILE_CAP, FileRead::Unreadable, 0},
        {"Rohr.cfg", DATA_FILE_CAP, FileRead::Unreadable, 0}, // not waited for
        {"Verweis.cfg", DATA_FILE_CAP, FileRead::Ok, DATA_FILE_CAP},
        {"Verweis.cfg", DATA_FILE_CAP, FileRead::Unreadable, 0, FileLinks::Refuse},
        {"Genau.cfg", DATA_FILE_CAP, FileRead::Ok, DATA_FILE_CAP, FileLinks::Refuse},
    };
    for (const auto& c : cases) {
        QByteArray data("alt");
        const qint64 before = BytesReadSoFar();
        EXPECT_EQ(ReadFileBytes(path(c.name), &data, c.cap, c.links), c.state) << c.name;
        EXPECT_EQ(data.size(), c.size) << c.name;
        if (before >= 0) { // never the whole file
            EXPECT_LE(BytesReadSoFar() - before, c.cap + 4096) << c.name;
        }
    }
    // Lenient readers take a long file as an existing one without lines: damaged, not missing.
    bool ok = false;
    EXPECT_TRUE(ReadTextLines(path("Lang.cfg"), &ok).isEmpty());
    EXPECT_TRUE(ok);
    EXPECT_TRUE(LineReader(path("Riesig.con")).exists());
    EXPECT_EQ(LineReader(path("Riesig.con")).count(), 0);
    EXPECT_FALSE(LineReader(path("Ordner.cfg")).exists());
    FileRead state = FileRead::Ok;
    EXPECT_TRUE(ReadTextLines(path("Lang.cfg"), &state).isEmpty());
    EXPECT_EQ(state, FileRead::TooLarge);
}

TEST_F(TextFileTest, UnreadableFileIsNotMissing)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    writeFile("Gesperrt.cfg", "1\r\n");
    ASSERT_TRUE(QFile(path("Gesperrt.cfg")).setPermissions(QFileDevice::Permissions()));
    FileRead state = FileRead::Ok;
    EXPECT_TRUE(ReadTextLines(path("Gesperrt.cfg"), &state).isEmpty());
    EXPECT_EQ(state, FileRead::Unreadable);
}

TEST(TextFileOnProc, ReadsProcFilesThatReportNoSize)
{
    // seq_file pages come in reads shorter than asked for, long before the end
    for (const char* name : {"/proc/self/mountinfo", "/proc/self/maps", "/proc/net/route"}) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray expected = f.readAll();
        QByteArray data;
        const FileRead state = ReadFileBytes(name, &data, TARIFF_FILE_CAP);
        if (expected.size() > TARIFF_FILE_CAP) {
            EXPECT_EQ(state, FileRead::TooLarge) << name;
            continue;
        }
        ASSERT_EQ(state, FileRead::Ok) << name;
        if (QByteArray(name) != "/proc/self/maps") {
            EXPECT_EQ(data, expected) << name;
        } else { // it changes as we read
            EXPECT_GT(data.count('\n'), 3) << name;
        }
    }
}

TEST(TextFileOnProc, SizelessFileOverTheCapIsReadOnlyUpToIt)
{
    // the size cannot rule it out, so the read itself must stop
    const char* name = "/proc/kallsyms";
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly) || f.readAll().size() <= DATA_FILE_CAP) GTEST_SKIP() << "no long /proc file";
    QByteArray data;
    const qint64 before = BytesReadSoFar();
    EXPECT_EQ(ReadFileBytes(name, &data), FileRead::TooLarge);
    EXPECT_TRUE(data.isEmpty());
    if (before >= 0) {
        EXPECT_LE(BytesReadSoFar() - before, DATA_FILE_CAP + 1 + 4096);
    }
}

// Every hostile file of the corpus through the core readers: each must return, under the sanitizers,
// without a crash, a hang or a report; the cases whose result is plain are pinned as well.
#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/InternetFunctions.h"
#include "core/LineCipher.h"
#include "core/PriceReader.h"
#include "core/RecordFiles.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/TimeLimit.h"
#include "core/TimeRoutines.h"
#include "core/Win1252.h"
#include "core/platform/linux/LinuxPhoneBook.h"
#include "core/platform/sim/SimPhoneBook.h"

#include "support/PppdFixture.h"
#include "support/TestSupport.h"

#include <QCoreApplication>

namespace {
class CorpusTest : public ProgramTest {};

QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    return lines;
}
} // namespace

TEST(Corpus, CipherLines)
{
    for (const CorpusFile& f : CorpusFiles("cipher")) {
        for (const QByteArray& line : splitLines(f.bytes)) {
            const QString text = Win1252::decode(line);
            const QString plain = DecryptString(text);
            // the fast path of the record reader must agree with the cipher on every line, damaged or not
            EXPECT_EQ(DecryptStoredLine(line), plain) << qPrintable(f.name) << " " << line.toHex().constData();
            if (!plain.isEmpty()) {
                EXPECT_EQ(DecryptString(EncryptString(plain)), plain) << qPrintable(f.name);
            }
        }
    }
    const QStringList wellFormed{"S17.01.2001", "12:00:00", "Supervisor", "Grüße", "0", "S1,50"};
    for (const CorpusFile& f : CorpusFiles("cipher")) {
        if (f.name != "well-formed") continue;
        QStringList plain;
        for (const QByteArray& line : splitLines(f.bytes).mid(0, 6)) plain << DecryptStoredLine(line);
        EXPECT_EQ(plain, wellFormed);
    }
}

TEST_F(CorpusTest, ConnectionRecords)
{
    const QString name = "17012001-120000.con"; // today by the fake clock, so the month walk opens it
    QList<CorpusFile> files = CorpusFiles("records");
    files.push_back({"oversize-one-line", QByteArray(70 * 1024, 'x')});
    files.push_back({"oversize-many-lines", QByteArray(70 * 1024, '\n')});
    G_ActiveUser = "Anna";
    G_DayLimitOn = G_MonthLimitOn = true;
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Verbindungen/" + name, f.bytes);
        RecordLines r;
        if (f.name.startsWith("oversize")) { // over the 64 KiB cap: damaged, skipped by the walk
            EXPECT_FALSE(ReadRecord(name, r));
            int visited = 0;
            WalkRecords(nullptr, [&](const QString&, const RecordLines&) { ++visited; });
            EXPECT_EQ(visited, 0);
            continue;
        }
        ASSERT_TRUE(ReadRecord(name, r));
        EXPECT_LE(r.count(), RECORD_MAX_LINES);
        EXPECT_EQ(r.stored.size(), r.lines.size());
        if (f.bytes.isEmpty()) {
            EXPECT_EQ(r.count(), 0);
        }
        if (f.name == "well-formed" || f.name == "well-formed-lf") {
            EXPECT_EQ(r.lines, QStringList({"S17.01.2001", "12:00:00", "00:10:00", "S0,19", "10", "1000", "200",
                                            "1200", "Netz", "Netz - A.tel", "Anna"}));
        }
        if (f.name == "forty-lines") {
            EXPECT_EQ(r.count(), RECORD_MAX_LINES);
        }
        int visited = 0;
        WalkRecords(nullptr, [&](const QString&, const RecordLines&) { ++visited; });
        EXPECT_LE(visited, 1);
        // the duration line as the list and the free-minutes count read it
        TimeToSeconds(r.line(3));
        NormalizeDuration(r.line(3));
        SubtractTimes("10:00:00", r.line(3));
        GetTimePercent(r.line(3), "10:00:00");
        GetConnectionUser(name);
        IsTimeLimitReached();
        EXPECT_LE(G_MonthRestSeconds, G_MonthLimitMinutes * 60);
        if (f.name == "duration-nines-against-minus-nines") {
            EXPECT_EQ(TimeToSeconds(r.line(3)), 0); // NaN converts to 0
        }
        if (f.name == "duration-nines") {
            EXPECT_EQ(G_MonthRestSeconds, G_MonthLimitMinutes * 60);
        }
    }
}

TEST_F(CorpusTest, TariffPrices)
{
    const QString name = "Netz - A.tel";
    for (const CorpusFile& f : CorpusFiles("tariffs")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Tarife/" + name, f.bytes);
        const auto lines = ReadTariffLines(name);
        ASSERT_TRUE(lines.has_value());
        for (const QString& line : *lines) ReadZonePrice(line.mid(line.indexOf(':') + 1));
        const double price = GetCurrentTarifPrice(name);
        GetFreeMinutes(name);
        GetVolumeLimit(name);
        if (f.name == "well-formed") {
            EXPECT_FLOAT_EQ(price, 1.9); // a Wednesday: the working-day zone
        }
        if (f.name == "empty") {
            EXPECT_EQ(price, 0);
        }
    }
}

TEST_F(CorpusTest, TimePage)
{
    for (const CorpusFile& f : CorpusFiles("timepage")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile(TIME_FILE_NAME, f.bytes);
        // read as the clock synchronisation reads its download
        const QDateTime t = ParseTimePage(ReadTextLines(path(TIME_FILE_NAME)).join(QString()));
        if (f.name == "well-formed") {
            EXPECT_EQ(t, QDateTime(QDate(2026, 12, 31), QTime(23, 30), Qt::UTC));
        } else if (f.name == "blank-day") {
            EXPECT_EQ(t, QDateTime(QDate(2011, 3, 7), QTime(5, 4, 3), Qt::UTC));
        } else if (f.name != "lone-cr-lines" && f.name != "split-over-lines") {
            EXPECT_FALSE(t.isValid());
        }
    }
}

TEST_F(CorpusTest, PeersFiles)
{
    const PppdFiles paths = PppdFilesBelow(dir.path());
    writeFile("pap-secrets", "anna * geheim\n");
    const QList<CorpusFile> files = CorpusFiles("peers");
    for (const CorpusFile& f : files) writeFile("peers/" + f.name, f.bytes);
    LinuxPhoneBook book(paths);
    EXPECT_EQ(book.entries(QString()).size(), files.size()); // the corpus names are all valid entry names
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name.toStdString());
        const PeerOptions p = ReadPeerOptions(path("peers/" + f.name));
        EXPECT_TRUE(p.ok);
        ConnectWithNumber(p.connect, "0190 123");
        ConnectWithNumber(p.connect, p.number);
        RasDialInfo info;
        SavedPassword saved = SavedPassword::Unknown;
        EXPECT_EQ(book.entryDialParams(QString(), f.name, info, saved), quint32(RAS_SUCCESS));
        EXPECT_EQ(info.szUserName, p.user);
        EXPECT_EQ(saved, p.user == "anna" ? SavedPassword::Yes : SavedPassword::No);
        if (f.name == "well-formed") {
            EXPECT_EQ(p.user, "anna");
            EXPECT_EQ(p.number, "0190123");
            EXPECT_EQ(p.device, "/dev/ttyUSB0");
            EXPECT_FALSE(p.pppoe);
        }
        if (f.name == "pppoe") {
            EXPECT_TRUE(p.pppoe);
        }
        if (f.name == "number-shell") {
            EXPECT_EQ(ConnectWithNumber(p.connect, p.number), QString());
        }
    }
}

TEST_F(CorpusTest, SecretsFiles)
{
    for (const CorpusFile& f : CorpusFiles("secrets")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("secrets", f.bytes);
        bool held[5];
        int i = 0;
        for (const char* user : {"anna", "bernd", "*", "u599", ""})
            held[i++] = SecretsHoldPassword({path("secrets"), path("missing")}, QString::fromLatin1(user)) ==
                        SavedPassword::Yes;
        EXPECT_FALSE(held[4]); // no user, no secret
        if (f.name == "well-formed") {
            EXPECT_TRUE(held[0] && held[1]);
        }
        if (f.name == "many-lines") {
            EXPECT_TRUE(held[3]);
        }
        if (f.name == "no-secret" || f.name == "empty-secret" || f.name == "empty") {
            EXPECT_FALSE(held[0]);
        }
    }
}

TEST_F(CorpusTest, DialUpSettingsOfADial)
{
    SimPhoneBook book;
    SetPhoneBook(&book);
    const int oldStart = SetDialStartWait(0);
    RasDialInfo windowsData;
    windowsData.szUserName = "win";
    book.addEntry("Provider", windowsData, true);
    // each file once as DialUp.cfg beside stored data, once as the stored data of a dial that uses them
    const QByteArray storedData =
        "0800\r\n" + EncryptString("Uhans").toLatin1() + "\r\n" + EncryptString("Ppw").toLatin1() + "\r\n";
    for (const CorpusFile& f : CorpusFiles("settings")) {
        SCOPED_TRACE(f.name.toStdString());
        for (const auto& [cfg, dat] : {std::pair(f.bytes, storedData), std::pair(QByteArray("Falsch\r\n"), f.bytes)}) {
            writeFile("DialUp/DialUp.cfg", cfg);
            writeFile("DialUp/Provider.dat", dat);
            book.dialCalls.clear();
            dialogs.messages.clear();
            const quint32 handle = DialEntry(QString(), "Provider");
            UnloadDialProgressWindow();
            EXPECT_EQ(book.dialCalls.size(), handle != 0 ? 1 : 0);
            if (handle) HangUpConnection(handle);
        }
        if (f.name == "entrydat-well-formed") {
            ASSERT_EQ(book.dialCalls.size(), 1);
            EXPECT_EQ(book.dialCalls[0].szPhoneNumber + "|" + book.dialCalls[0].szUserName + "|" +
                          book.dialCalls[0].szPassword,
                      "0191011|anna|geheim");
        }
        if (f.name == "entrydat-no-markers") {
            EXPECT_TRUE(book.dialCalls.isEmpty()); // no password stored, and the prompt for it left empty
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetDialStartWait(oldStart);
    SetPhoneBook(nullptr);
}

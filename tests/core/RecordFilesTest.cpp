#include "core/FileList.h"
#include "core/LineCipher.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"
#include "core/Win1252.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>

namespace {
class RecordFilesTest : public ProgramTest {};

QStringList elevenLines(const QString& user)
{
    return {"S17.01.2001", "12:00:00", "00:10:00", "S0,19", "10", "1000", "200", "1200", "Netz", "Netz - A.tel", user};
}
} // namespace

TEST(GetDateFromFileName, RollsOverAndFallsBack)
{
    const struct {
        const char* name;
        QDate date;
    } cases[] = {
        {"17012001-120000.con", QDate(2001, 1, 17)},
        {"31022001-080000.con", QDate(2001, 3, 3)},  // day beyond February rolls into March
        {"31022004-080000.con", QDate(2004, 3, 2)},  // the same in a leap year
        {"01132001-000000.con", QDate(2002, 1, 1)},  // month 13
        {"00012001-000000.con", QDate(2000, 12, 31)}, // day 0: last day of the month before
        {"15002001-000000.con", QDate(2000, 12, 15)}, // month 0: December before
        {"000020010-000000.con", QDate(2000, 1, 1)},  // year of five digits reads ten thousand and more
        {"010199999-000000.con", QDate(2000, 1, 1)},  // beyond 16 bits
        {"010101-000000.con", QDate(2001, 1, 1)},     // two-digit years: 0-29 are 2000-2029
        {"010130-000000.con", QDate(1930, 1, 1)},     // 30-99 are 1930-1999
        {"0101-000000.con", QDate(2000, 1, 1)},       // no year: year 0 is 2000
        {"aabb2001-000000.con", QDate(2000, 11, 30)}, // text is 0: month 0 and day 0
        {"17012001.con", QDate(2000, 1, 1)},          // no "-"
        {"01010099-000000.con", QDate(1999, 1, 1)},   // "0099" is a two-digit year too
        {"3112999-000000.con", QDate(999, 12, 31)},   // only years below 100 are moved
        {"01010100-000000.con", QDate(100, 1, 1)},    // the calendar's first year
        {"00010100-000000.con", QDate(2000, 1, 1)},   // rolling below it fails
    };
    for (const auto& c : cases) EXPECT_EQ(GetDateFromFileName(c.name), c.date) << c.name;
}

TEST_F(RecordFilesTest, ReaderGivesTheLinesPresent)
{
    QStringList hand = elevenLines("Anna");
    hand << "nachgetragen";
    writeCipher("Verbindungen/17012001-120000.con", elevenLines("Anna"));
    writeCipher("Verbindungen/18012001-120000.con", hand);
    RecordLines r;
    ASSERT_TRUE(ReadRecord("17012001-120000.con", r));
    EXPECT_EQ(r.count(), 11);
    EXPECT_EQ(r.lines, elevenLines("Anna"));
    EXPECT_EQ(r.line(12), QString());
    ASSERT_TRUE(ReadRecord("18012001-120000.con", r));
    EXPECT_EQ(r.count(), 12);
    EXPECT_EQ(r.line(12), "nachgetragen");
    EXPECT_EQ(r.stored[0], Win1252::encode(EncryptString("S17.01.2001")));

    // LF line ends, a short record and an empty line among them: the lines as they are, no rules applied
    writeFile("Verbindungen/19012001-000000.con",
              Win1252::encode(EncryptString("S19.01.2001") + "\n\n" + EncryptString("00:01:00")));
    ASSERT_TRUE(ReadRecord("19012001-000000.con", r));
    EXPECT_EQ(r.lines, QStringList({"S19.01.2001", "", "00:01:00"}));
    EXPECT_FALSE(ReadRecord("20012001-000000.con", r));
    EXPECT_EQ(r.count(), 0);

    // a name from a list is one file of the record folder, never a way out of it
    writeCipher("Benutzer/a.usr", elevenLines("Anna"));
    writeCipher("Verbindungen/Sub/21012001-000000.con", elevenLines("Anna"));
    for (const char* name : {"../Benutzer/a.usr", "Sub/21012001-000000.con", "..", ".", ""}) {
        ASSERT_TRUE(ReadRecord("17012001-120000.con", r));
        EXPECT_FALSE(ReadRecord(name, r)) << name;
        EXPECT_EQ(r.count(), 0) << name;
    }
}

TEST(DecryptStoredLine, AgreesWithTheCipher)
{
    QRandomGenerator rng(42);
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes(rng.bounded(0, 40), '\0');
        for (char& b : bytes) b = char(i % 4 ? rng.bounded(100, 200) : rng.bounded(0, 256)); // mostly well-formed
        EXPECT_EQ(DecryptStoredLine(bytes), DecryptString(Win1252::decode(bytes))) << bytes.toHex().constData();
    }
    for (const QString& plain : {QString("Supervisor"), QString("0"), QString("S1,50"), QString("Grüße: ä, ö; ß"),
                                 QString("Zeile\r\nzwei")})
        EXPECT_EQ(DecryptStoredLine(Win1252::encode(EncryptString(plain))), plain);
}

TEST_F(RecordFilesTest, WalkVisitsInListingOrderAndSelectsByName)
{
    EXPECT_NO_FATAL_FAILURE(WalkRecords(nullptr, [](const QString&, const RecordLines&) { FAIL(); }));
    // enough records for the readers to run ahead, in a folder named in another case
    QStringList names;
    for (int i = 0; i < 400; ++i) {
        const QString name =
            QString("%1").arg(i % 28 + 1, 2, 10, QChar('0')) + "012001-" + QString("%1.con").arg(i, 6, 10, QChar('0'));
        names << name;
        writeCipher("verbindungen/" + name, elevenLines(QString("user%1").arg(i)) + QStringList(i % 3 ? 0 : 1, "x"));
    }
    names.sort(Qt::CaseInsensitive);
    QStringList seen;
    WalkRecords(nullptr, [&](const QString& name, const RecordLines& r) {
        const int i = name.mid(9, 6).toInt();
        EXPECT_EQ(r.line(11), QString("user%1").arg(i));
        EXPECT_EQ(r.count(), i % 3 == 0 ? 12 : 11);
        seen << name;
    });
    EXPECT_EQ(seen, names);

    seen.clear();
    WalkRecords([](const QString& name) { return name.startsWith("05"); },
                [&](const QString& name, const RecordLines&) { seen << name; });
    EXPECT_EQ(seen.size(), 15);
    for (const QString& n : seen) EXPECT_TRUE(n.startsWith("05"));

    // prepared on the readers' threads, handed over in listing order; an empty result is still visited
    seen.clear();
    int empty = 0;
    WalkRecords(
        nullptr,
        [](const QString& name, const RecordLines& r) -> std::any {
            if (name.mid(9, 6).toInt() % 2) return {};
            return name + "|" + r.line(11);
        },
        [&](const QString& name, std::any& prepared) {
            const QString* text = std::any_cast<QString>(&prepared);
            if (!text) {
                ++empty;
                return;
            }
            EXPECT_EQ(*text, name + "|user" + QString::number(name.mid(9, 6).toInt()));
            seen << name;
        });
    EXPECT_EQ(empty, 200);
    QStringList even;
    for (const QString& n : names)
        if (n.mid(9, 6).toInt() % 2 == 0) even << n;
    EXPECT_EQ(seen, even);
}

TEST_F(RecordFilesTest, RecordsOverTheCapAreSkippedLikeUnreadableOnes)
{
    // enough records around them for the walk's readers to run ahead
    QStringList kept;
    for (int i = 0; i < 200; ++i) {
        const QString name = QString("01012001-%1.con").arg(i, 6, 10, QChar('0'));
        if (i == 7 || i == 150 || i == 151) continue;
        writeCipher("Verbindungen/" + name, elevenLines("Anna"));
        kept << name;
    }
    QFile huge(path("Verbindungen/01012001-000007.con")); // one line of 50 MB
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(50 * 1024 * 1024));
    huge.close();
    writeFile("Verbindungen/01012001-000150.con", QByteArray(DATA_FILE_CAP + 1, char(150)));
    QByteArray atCap = Win1252::encode(EncryptString("S1,00")) + "\r\n";
    atCap += QByteArray(DATA_FILE_CAP - atCap.size(), char(150));
    writeFile("Verbindungen/01012001-000151.con", atCap); // the largest record still read
    kept << "01012001-000151.con";
    kept.sort();

    QStringList seen;
    const qint64 before = BytesReadSoFar();
    WalkRecords(nullptr, [&](const QString& name, const RecordLines&) { seen << name; });
    if (before >= 0) {
        EXPECT_LT(BytesReadSoFar() - before, 1024 * 1024); // the long ones are not read whole
    }
    EXPECT_EQ(seen, kept);
    RecordLines r;
    EXPECT_FALSE(ReadRecord("01012001-000007.con", r));
    EXPECT_FALSE(ReadRecord("01012001-000150.con", r));
    ASSERT_TRUE(ReadRecord("01012001-000151.con", r));
    EXPECT_EQ(r.line(1), "S1,00");
    EXPECT_EQ(r.count(), 2);
}

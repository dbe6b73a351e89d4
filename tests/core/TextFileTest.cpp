#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/Win1252.h"
#include "support/TestSupport.h"

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
}

TEST_F(TextFileTest, ProgramPathReusesExistingLetterCase)
{
    writeFile("Benutzer/Anna.usr", "x");
    EXPECT_EQ(ProgramPath("benutzer/ANNA.usr"), path("Benutzer/Anna.usr"));
    EXPECT_EQ(ProgramPath("Config/Options.cfg"), path("Config/Options.cfg"));
}

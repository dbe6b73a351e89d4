#include "tariffs/TarifFile.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "support/TestSupport.h"

#include <QDir>

namespace {
// Windows-1252 bytes, CRLF, keys in their fixed order.
const QByteArray Golden = "[Providerdaten]\r\n"
                          "Name:Net - Abend\r\n"
                          "Grundgeb\xfchr:0,00\r\n"
                          "Region:bundesweit\r\n"
                          "G\xfcltigkeit:17.01.2001\r\n"
                          "Anmeldung:n\xf6tig\r\n"
                          "Einwahlnummer:k.A.\r\n"
                          "Username:k.A.\r\n"
                          "Password:k.A.\r\n"
                          "Flatrate:Nein\r\n"
                          "Volumenabrechnung:Nein\r\n"
                          "Volumenkosten:0\r\n"
                          "Volumeneinheit:1\r\n"
                          "Volumengrenze:0\r\n"
                          "Mindestumsatz:0,00\r\n"
                          "Freiminuten:30\r\n"
                          "Kanalb\xfcndelung:Nein\r\n"
                          "Takt:60 / 60\r\n"
                          "Sekundengenau:Nein\r\n"
                          "Sekundenschritte:1\r\n"
                          "Gespr\xe4"
                          "chsgrundgeb\xfchr:0,00\r\n"
                          "\r\n"
                          "[Tarifzonen]\r\n"
                          "Zone:Abend\r\nVon:8\r\nBis:18\r\nPfennig:1,3\r\nEinheit:60\r\nWochenende:Nein\r\n"
                          "Zone:Abend\r\nVon:0\r\nBis:24\r\nPfennig:1,9\r\nEinheit:60\r\nWochenende:Ja\r\n";

TarifFile goldenTariff()
{
    TarifFile t = TarifFile::New("Net", "Abend");
    t.freeAllowance = "30";
    t.zones = {TarifZone{8, 18, ToCents(0.013f), false}, TarifZone{0, 24, ToCents(0.019f), true}};
    return t;
}
} // namespace

class TarifFileTest : public ProgramTest {};

TEST_F(TarifFileTest, NewTariffMatchesGoldenFileByteForByte)
{
    ASSERT_TRUE(WriteTarifFile(goldenTariff()));
    EXPECT_EQ(readFile("Tarife/Net - Abend.tel"), Golden);
}

TEST_F(TarifFileTest, ACharacterOutsideTheCodePageKeepsTheOldFile)
{
    ASSERT_TRUE(WriteTarifFile(goldenTariff()));
    TarifFile t = goldenTariff();
    t.password = QStringLiteral("pass☃");
    EXPECT_FALSE(WriteTarifFile(t));
    t = goldenTariff();
    t.zones[0].cents = 5; // a change that would show if the file were written
    t.tariff = QStringLiteral("Abend☃");
    EXPECT_FALSE(WriteTarifFile(t));
    t.tariff = "Abend";
    t.provider = QStringLiteral("Net☃");
    EXPECT_FALSE(WriteTarifFile(t));
    EXPECT_EQ(readFile("Tarife/Net - Abend.tel"), Golden);
    EXPECT_EQ(QDir(path("Tarife")).entryList(QDir::Files), QStringList({"Net - Abend.tel"}));
}

TEST_F(TarifFileTest, VolumeTariffAndMissingZones)
{
    TarifFile t = TarifFile::New("Net", "Volumen");
    t.volumeBilling = true;
    t.freeAllowance = "500";
    t.volumeCents = ToCents(0.015f);
    t.volumeUnit = "";
    t.takt = "";
    t.baseFee = "";
    ASSERT_TRUE(WriteTarifFile(t));
    const QList<QByteArray> lines = readFile("Tarife/Net - Volumen.tel").split('\n');
    EXPECT_EQ(lines[2], "Grundgeb\xfchr:0\r");
    EXPECT_EQ(lines[10], "Volumenabrechnung:Ja\r");
    EXPECT_EQ(lines[11], "Volumenkosten:1,5\r");
    EXPECT_EQ(lines[12], "Volumeneinheit:1\r");
    EXPECT_EQ(lines[13], "Volumengrenze:500\r");
    EXPECT_EQ(lines[15], "Freiminuten:0\r");
    EXPECT_EQ(lines[17], "Takt:60/60\r");
    // No zone: the working-day and the weekend block, 0 to 24 at 0; the file ends with CR LF.
    const QByteArray zones = "Zone:Volumen\r\nVon:0\r\nBis:24\r\nPfennig:0\r\nEinheit:60\r\nWochenende:Nein\r\n"
                             "Zone:Volumen\r\nVon:0\r\nBis:24\r\nPfennig:0\r\nEinheit:60\r\nWochenende:Ja\r\n";
    EXPECT_TRUE(readFile("Tarife/Net - Volumen.tel").endsWith("[Tarifzonen]\r\n" + zones));
}

TEST_F(TarifFileTest, ReadsBackEveryFieldAndZone)
{
    TarifFile t = TarifFile::New("Net", "Alles"); // every field away from its default
    t.baseFee = "4,95";
    t.nationwide = t.registration = false;
    t.validity = "01.03.2002";
    t.dialNumber = "0190123";
    t.userName = "gast";
    t.password = "geheim";
    t.flatrate = t.channelBundling = true;
    t.minimumTurnover = "10";
    t.freeAllowance = "90";
    t.takt = "90 / 30";
    t.secondExact = "Ja";
    t.secondSteps = "10";
    t.callBaseFee = "6,5";
    t.zones = {TarifZone{0, 8, 0.9f, false}, TarifZone{8, 18, 1.95f, false}, TarifZone{0, 0, 0.5f, true}};
    for (bool volume : {false, true}) {
        t.volumeBilling = volume; // a volume tariff's free field is its free transfer
        t.volumeCents = volume ? 2.5f : 0;
        t.volumeUnit = volume ? "5" : "1";
        ASSERT_TRUE(WriteTarifFile(t));
        TarifFile r;
        ASSERT_TRUE(ReadTarifFile("net - alles.TEL", &r));
        EXPECT_EQ(r.provider + "|" + r.tariff + "|" + r.freeAllowance + "|" + r.volumeUnit,
                  "net|alles|90|" + t.volumeUnit);
        EXPECT_EQ(r.volumeBilling, volume);
        EXPECT_FLOAT_EQ(r.volumeCents, t.volumeCents);
        ASSERT_EQ(r.zones.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(r.zones[i].from, t.zones[i].from) << i;
            EXPECT_EQ(r.zones[i].to, t.zones[i].to) << i;
            EXPECT_FLOAT_EQ(r.zones[i].cents, t.zones[i].cents) << i;
            EXPECT_EQ(r.zones[i].weekend, t.zones[i].weekend) << i;
        }
        // Written again from what was read, the file is the same: every field came back.
        r.provider = "Net";
        r.tariff = "Alles";
        const QByteArray before = readFile("Tarife/Net - Alles.tel");
        ASSERT_TRUE(WriteTarifFile(r));
        EXPECT_EQ(readFile("Tarife/Net - Alles.tel"), before);
    }
}

TEST_F(TarifFileTest, FileCutShortOrSparseReadsWithoutCrash)
{
    for (int cut : {6, 17, 30}) { // inside the last block's "Wochenende:", "Einheit:" and "Pfennig:" lines
        writeFile("Tarife/Net - Abend.tel", Golden.left(Golden.size() - cut));
        TarifFile r;
        ASSERT_TRUE(ReadTarifFile("Net - Abend.tel", &r)) << cut;
        ASSERT_EQ(r.zones.size(), 1) << cut;
        EXPECT_EQ(r.zones[0].from, 8);
        EXPECT_FLOAT_EQ(r.zones[0].cents, 1.3f);
    }
    writeFile("Tarife/Net - Abend.tel", Golden.chopped(2)); // no line end after the last line
    TarifFile whole;
    ASSERT_TRUE(ReadTarifFile("Net - Abend.tel", &whole));
    EXPECT_EQ(whole.zones.size(), 2);
    // Kept values the file lacks read as "k.A."; a zone of an unknown kind is left out.
    writeFile("Tarife/Net - Kurz.atl", "[Tarifzonen]\r\nZone:K\r\nVon:1\r\nBis:2\r\nPfennig:3\r\nEinheit:60\r\n"
                                       "Wochenende:Vielleicht\r\nZone:K\r\nVon:3\r\nBis:4\r\nPfennig:5\r\n"
                                       "Einheit:60\r\nWochenende:JA\r\n");
    ASSERT_TRUE(ReadTarifFile("Net - Kurz.atl", &whole));
    EXPECT_EQ(whole.validity + whole.password + whole.secondExact, "k.A.k.A.");
    ASSERT_EQ(whole.zones.size(), 1);
    EXPECT_TRUE(whole.zones[0].from == 3 && whole.zones[0].weekend);
    EXPECT_FALSE(ReadTarifFile("Net - Fehlt.tel", &whole));
}

TEST_F(TarifFileTest, ProvidersTariffItemsAndFileNames)
{
    for (const char* name : {"Net - Abend.tel", "Net - Abend.atl", "Netz - B.tel", "Readme.txt", "Foo - x.txt",
                             "A - B - C.tel", "Net - Tag.TEL", "X - y.tel.AbCdEf", "Net - Nacht.xtel"})
        writeFile(QString("Tarife/") + name, "x\r\n");
    // Only tariff files name providers: not a text file, nor what an interrupted write left behind.
    EXPECT_EQ(ListProviders(), QStringList({"A", "Net", "Netz"}));
    // Only the provider's own files, not those of "Netz".
    EXPECT_EQ(ListTarifItems("Net"), QStringList({"A - Abend", "M - Abend", "M - Tag"}));
    EXPECT_EQ(ListTarifItems("Netz"), QStringList({"M - B"}));
    EXPECT_EQ(ListTarifItems("Foo"), QStringList());
    EXPECT_EQ(ListTarifItems("A"), QStringList({"M - B - C"}));
    EXPECT_EQ(ListTarifItems(""), QStringList());

    EXPECT_EQ(TarifFileName("Net", "M - Abend"), "Net - Abend.tel");
    EXPECT_EQ(TarifFileName("Net", "A - Abend"), "Net - Abend.atl");
    EXPECT_EQ(TarifFileName("Net", "[Keine Zuordnung]"), "");
    EXPECT_EQ(TarifItem("Net", "Net - Abend.atl"), "A - Abend");
    EXPECT_EQ(TarifItem("Net", "Net - Abend.txt"), "");
    EXPECT_EQ(ProviderOfFile("Readme.txt"), "");

    TarifFile bad = TarifFile::New("../Net", "Abend");
    EXPECT_FALSE(WriteTarifFile(bad));
    bad = TarifFile::New("Net", "");
    EXPECT_FALSE(WriteTarifFile(bad));
}

TEST_F(TarifFileTest, ZoneBlocksStopAt255AndLongFilesAreDamaged)
{
    const QByteArray block = "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:1\r\nEinheit:60\r\nWochenende:Nein\r\n";
    const QByteArray odd = "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:1\r\nEinheit:60\r\nWochenende:Oft\r\n";
    // past the data files' cap, within the tariffs'
    const QByteArray head = "Takt:60 / 60\r\n[Tarifzonen]\r\n" + odd.repeated(2000);
    const struct {
        const char* name;
        QByteArray file;
        bool reads;
        qsizetype zones;
    } cases[] = {
        {"254 blocks", head + block.repeated(254), true, 254},
        {"255 blocks", head + block.repeated(255), true, 255},
        {"300 blocks", head + block.repeated(300), true, 255},
        {"at the cap", (head + block.repeated(300)).leftJustified(TARIFF_FILE_CAP, 'x'), true, 255},
        {"over the cap", (head + block).leftJustified(TARIFF_FILE_CAP + 1, 'x'), false, 0},
    };
    for (const auto& c : cases) {
        writeFile("Tarife/Net - T.tel", c.file);
        TarifFile t;
        EXPECT_EQ(ReadTarifFile("Net - T.tel", &t), c.reads) << c.name;
        EXPECT_EQ(t.zones.size(), c.zones) << c.name;
        EXPECT_EQ(GetCurrentTarifPrice("Net - T.tel"), c.reads ? 1 : 0) << c.name;
    }
}

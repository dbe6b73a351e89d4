#include "core/TariffPrices.h"
#include "core/Globals.h"
#include "core/PriceReader.h"
#include "core/TimeRoutines.h"
#include "support/TestSupport.h"

#include <cmath>
#include <limits>

namespace {
struct Zone {
    const char* from;
    const char* to;
    const char* price;
    const char* weekend;
};

QByteArray zoneLines(const QList<Zone>& zones)
{
    QByteArray out;
    for (const Zone& z : zones)
        out += QByteArray("Zone:T\r\nVon:") + z.from + "\r\nBis:" + z.to + "\r\nPfennig:" + z.price +
               "\r\nEinheit:60\r\nWochenende:" + z.weekend + "\r\n";
    return out;
}

QByteArray timeTariff(const QList<Zone>& zones)
{
    return "[Providerdaten]\r\nName:Net - T\r\nVolumenabrechnung:Nein\r\nVolumenkosten:0\r\nFreiminuten:0\r\n"
           "\r\n[Tarifzonen]\r\n" +
           zoneLines(zones);
}

// 17.01.2001 is a Wednesday.
const QDate Wednesday(2001, 1, 17);
const QDate Saturday(2001, 1, 20);
const QDate Sunday(2001, 1, 21);
} // namespace

class TariffPrices : public ProgramTest {
protected:
    double priceAt(const QByteArray& file, const QDate& day, const QTime& time, bool holiday = false)
    {
        writeFile("Tarife/Net - T.tel", file);
        clock.set(QDateTime(day, time));
        G_Holiday = holiday;
        return GetCurrentTarifPrice("Net - T.tel");
    }
};

TEST_F(TariffPrices, ZoneInForceByDayKindTimeAndFileOrder)
{
    const QByteArray weekAndWeekend = timeTariff({{"0", "24", "1,9", "Nein"}, {"0", "24", "0,9", "Ja"}});
    const QByteArray evening = timeTariff({{"0", "18", "1", "Nein"}, {"18", "24", "2", "Nein"}});
    const QByteArray eveningReversed = timeTariff({{"18", "24", "2", "Nein"}, {"0", "18", "1", "Nein"}});
    const QByteArray overMidnight = timeTariff({{"8", "18", "5", "Nein"}, {"18", "8", "7", "Nein"}});
    const QByteArray nineToNine = timeTariff({{"9", "9", "3", "Nein"}});
    const QByteArray twentyFourToZero = timeTariff({{"24", "0", "3", "Nein"}});
    const QByteArray pointPrice = timeTariff({{"0", "24", "1.9", "Nein"}});
    const QByteArray badPriceLater =
        timeTariff({{"0", "24", "1", "Nein"}, {"0", "24", "1,9x", "Nein"}, {"0", "24", "3", "Nein"}});
    const QByteArray emptyPriceLater = timeTariff({{"0", "24", "1", "Nein"}, {"0", "24", "", "Nein"}});
    const QByteArray cutShort = timeTariff({{"0", "24", "1", "Nein"}}) + "Zone:T\r\nVon:0\r\nBis:24\r\n";
    const QByteArray flagCase = timeTariff({{"0", "24", "1", "ja"}, {"0", "24", "2", "nein"}});
    const QByteArray noZones = "[Providerdaten]\r\nVolumenabrechnung:Nein\r\nVolumenkosten:0\r\n";
    const QByteArray volume = "[Providerdaten]\r\nVolumenabrechnung:Ja\r\nVolumenkosten:1,5\r\n\r\n[Tarifzonen]\r\n" +
                              zoneLines({{"0", "24", "9", "Nein"}});
    const QByteArray volumeCaps = "VOLUMENABRECHNUNG:JA\r\nVolumenkosten:0.25\r\n";
    const QByteArray volumeLast = "[Providerdaten]\r\nVolumenabrechnung:Ja\r\n";
    const QByteArray exponentPrice = timeTariff({{"0", "24", "1,9E+01", "Nein"}, {"0", "24", "5e-3", "Ja"}});
    const QByteArray exponentVolume = "Volumenabrechnung:Ja\r\nVolumenkosten:2,5E-02 Cent\r\n";
    const QByteArray beyondPriceLater =
        timeTariff({{"0", "24", "1", "Nein"}, {"0", "24", "1E+39", "Nein"}, {"0", "24", "3", "Nein"}});
    const QByteArray beyondVolume = "Volumenabrechnung:Ja\r\nVolumenkosten:1E+400\r\n";

    const struct {
        const char* name;
        const QByteArray& file;
        QDate day;
        QTime time;
        bool holiday;
        double price;
    } cases[] = {
        {"weekday", weekAndWeekend, Wednesday, QTime(12, 0), false, 1.9},
        {"saturday", weekAndWeekend, Saturday, QTime(12, 0), false, 0.9},
        {"sunday", weekAndWeekend, Sunday, QTime(3, 0), false, 0.9},
        {"holiday", weekAndWeekend, Wednesday, QTime(12, 0), true, 0.9},
        {"boundary later block", evening, Wednesday, QTime(18, 0, 0), false, 2},
        {"boundary reversed order", eveningReversed, Wednesday, QTime(18, 0, 0), false, 1},
        {"last second of day", evening, Wednesday, QTime(23, 59, 59), false, 2},
        {"midnight", evening, Wednesday, QTime(0, 0, 0), false, 1},
        {"over midnight never", overMidnight, Wednesday, QTime(20, 0), false, 0},
        {"over midnight early", overMidnight, Wednesday, QTime(7, 59, 59), false, 0},
        {"day zone", overMidnight, Wednesday, QTime(12, 0), false, 5},
        {"weekday zone on saturday", overMidnight, Saturday, QTime(12, 0), false, 0},
        {"same hour all day", nineToNine, Wednesday, QTime(2, 0), false, 3},
        {"24 to 0 all day", twentyFourToZero, Wednesday, QTime(13, 0), false, 3},
        {"decimal point", pointPrice, Wednesday, QTime(12, 0), false, 1.9},
        {"bad price ends walk", badPriceLater, Wednesday, QTime(12, 0), false, 1},
        {"empty price ends walk", emptyPriceLater, Wednesday, QTime(12, 0), false, 1},
        {"cut short", cutShort, Wednesday, QTime(12, 0), false, 1},
        {"flag is case-sensitive", flagCase, Saturday, QTime(12, 0), false, 0},
        {"no zones", noZones, Wednesday, QTime(12, 0), false, 0},
        {"volume", volume, Wednesday, QTime(12, 0), false, 1.5},
        {"volume in capitals", volumeCaps, Wednesday, QTime(12, 0), false, 0.25},
        {"volume line last", volumeLast, Wednesday, QTime(12, 0), false, 0},
        {"price with exponent", exponentPrice, Wednesday, QTime(12, 0), false, 19},
        {"small price with exponent", exponentPrice, Sunday, QTime(12, 0), false, 0.005},
        {"volume price with exponent", exponentVolume, Wednesday, QTime(12, 0), false, 0.025},
        {"price beyond single range ends walk", beyondPriceLater, Wednesday, QTime(12, 0), false, 1},
        {"volume price beyond single range", beyondVolume, Wednesday, QTime(12, 0), false, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(priceAt(c.file, c.day, c.time, c.holiday), c.price, 1e-6) << c.name;
}

// A tariff number in exponent form reads exactly as its value in plain digits does; any other text as it
// reads without exponent (`plain` empty), leniently as ValDecimal, strictly as ReadZonePrice. Beyond the
// single range it is malformed: 0, or no price.
TEST(TariffNumbers, ExponentFormsReadAsTheirPlainDigits)
{
    const QString many = "1" + QString(400, '0'), tiny = "0," + QString(400, '0') + "1";
    const struct {
        QString text, plain;
    } cases[] = {
        {"5E-05", "0,00005"},
        {"5e-05", "0.00005"},
        {"1,9E+01", "19"},
        {"1.9E+01", "19"},
        {"3E-1", "0,3"}, // not 3 times 0,1
        {"1,1E+02", "110"},
        {"6,28E1", "62,8"},
        {" -2,5E-3", "-0,0025"},
        {"+4E0", "4"},
        {",5E1", "5"},
        {"5,E-1", "0,5"},
        {"007,50E-0002", "0,075"},
        {"0E7", "0"},
        {"1,234567E+07", "12345670"},
        {"5E-05 Cent", "0,00005 Cent"},
        {"1E+39", "1" + QString(39, '0')},
        {"1E+400", many},
        {"1E-400", tiny},
        {"1E+99999999999999999999", many},
        {"1E-99999999999999999999", tiny},
        {"5E", {}},
        {"E5", {}},
        {"5 E3", {}},
        {"5E+", {}},
        {"5E- 3", {}},
        {"5EE3", {}},
        {"1,2,5E3", {}},
        {"1.2,5E3", {}},
        {"abc,5E2", {}},
        {"0,019", {}},
        {"", {}},
        {"-1E+400", "-" + many},
        {"3,5E+38", "35" + QString(37, '0')},
        {many, {}},
    };
    for (const auto& c : cases) {
        const QString plain = c.plain.isNull() ? c.text : c.plain;
        const std::string trace = c.text.left(30).toStdString();
        EXPECT_EQ(HasTariffExponent(c.text), !c.plain.isNull()) << trace;
        const bool beyond = !std::isfinite(ValDecimal(plain));
        EXPECT_EQ(BeyondSingleRange(c.text), beyond) << trace;
        const float digits = beyond ? 0.0f : ValDecimal(plain);
        const float lenient = ReadTariffNumber(c.text);
        EXPECT_TRUE(lenient == digits && std::signbit(lenient) == std::signbit(digits)) << trace << " " << lenient;
        EXPECT_EQ(ReadTariffZonePrice(c.text), beyond ? std::nullopt : ReadZonePrice(plain)) << trace;
    }
    for (const QString& beyond : QStringList{"1E+39", "-1E+39", "1" + QString(39, '0'), "1E+400", many}) {
        EXPECT_EQ(ReadTariffNumber(beyond), 0) << beyond.left(30).toStdString();
        EXPECT_FALSE(ReadTariffZonePrice(beyond).has_value()) << beyond.left(30).toStdString();
    }
    EXPECT_EQ(ReadTariffZonePrice("3E+38"), 3e38); // the largest single values are prices
    EXPECT_EQ(ReadTariffNumber("1E-99"), 0);
    EXPECT_EQ(ReadTariffZonePrice("1,9E+01"), 19);
    EXPECT_EQ(ReadTariffZonePrice("3E-1"), 0.3);
    EXPECT_EQ(ReadTariffZonePrice(" 5E-03 "), 0.005);
    EXPECT_FALSE(ReadTariffZonePrice("5E-03 Cent").has_value());
}

TEST_F(TariffPrices, MissingFilesAndNamesPriceZero)
{
    writeFile("Tarife/Net - T.tel", timeTariff({{"0", "24", "1,9", "Nein"}}));
    EXPECT_EQ(GetCurrentTarifPrice(""), 0);
    EXPECT_EQ(GetCurrentTarifPrice("Net - X.tel"), 0);
    EXPECT_EQ(GetCurrentTarifPrice("../Tarife/Net - T.tel"), 0);
    EXPECT_NEAR(GetCurrentTarifPrice("net - t.TEL"), 1.9, 1e-6); // names match without regard to case
    EXPECT_EQ(GetFreeMinutes("Net - X.tel"), 0);
    EXPECT_EQ(GetVolumeLimit(""), 0);
}

TEST_F(TariffPrices, FreeMinutesAndVolumeLimitReadLeniently)
{
    const struct {
        QByteArray line;
        double freeMinutes, volumeLimit;
    } cases[] = {
        {"Freiminuten:30", 30, 0},
        {"freiminuten:30", 0, 0},
        {"Freiminuten: 45", 45, 0},
        {"Freiminuten:1,5", 1, 0},
        {"Volumengrenze:2", 0, 2000},
        {"Volumengrenze:1,5", 0, 1000},
        {"VOLUMENGRENZE:3", 0, 3000},
        {"Volumengrenze:0.5", 0, 500},
        {"Volumengrenze:", 0, 0},
        // beyond the double range: malformed, never infinite
        {"Freiminuten:" + QByteArray(400, '9'), 0, 0},
        {"Volumengrenze:-" + QByteArray(400, '9'), 0, 0},
        // and so is a value whose exponent takes it there, or whose kilobytes lie there
        {"Freiminuten:-1E+400", 0, 0},
        {"Freiminuten:1E+02", 1, 0},
        {"Volumengrenze:1E+400", 0, 0},
        {"Volumengrenze:2" + QByteArray(305, '0'), 0, 0},
        {"Volumengrenze:1" + QByteArray(308, '0'), 0, 0},
        {"Volumengrenze:-2" + QByteArray(305, '0'), 0, 0},
        {"Volumengrenze:1" + QByteArray(305, '0'), 0, 1e305 * 1000},
    };
    for (const auto& c : cases) {
        writeFile("Tarife/Net - T.tel", QByteArray("[Providerdaten]\r\n") + c.line + "\r\nFreiminuten:99\r\n"
                                                                                     "Volumengrenze:99\r\n");
        const bool freeLine = QByteArray(c.line).startsWith("Freiminuten");
        const bool limitLine = QByteArray(c.line).toLower().startsWith("volumengrenze");
        EXPECT_EQ(GetFreeMinutes("Net - T.tel"), freeLine ? c.freeMinutes : 99) << c.line.left(40).constData();
        EXPECT_EQ(GetVolumeLimit("Net - T.tel"), limitLine ? c.volumeLimit : 99000) << c.line.left(40).constData();
    }
    writeFile("Tarife/Net - A.tel", "[Providerdaten]\r\nTakt:60 / 60\r\n");
    writeFile("Tarife/Net - B.tel", "Freiminuten:12\r\n");
    EXPECT_EQ(GetFreeMinutes("Net - A.tel"), 0);
    EXPECT_EQ(GetFreeMinutes("Net - B.tel"), 12);
}

#include "records/HandEntryCost.h"
#include "support/TestSupport.h"

#include <cfloat>
#include <cmath>

namespace {
struct Zone {
    const char* from;
    const char* to;
    const char* price;
    const char* weekend;
};

QByteArray tariff(const char* takt, const QList<Zone>& zones)
{
    QByteArray out = "[Providerdaten]\r\nName:Net - T\r\n";
    if (takt) out += QByteArray("Takt:") + takt + "\r\n";
    out += "Gespr\xe4"
           "chsgrundgeb\xfchr:0\r\n\r\n[Tarifzonen]\r\n";
    for (const Zone& z : zones)
        out += QByteArray("Zone:T\r\nVon:") + z.from + "\r\nBis:" + z.to + "\r\nPfennig:" + z.price +
               "\r\nEinheit:60\r\nWochenende:" + z.weekend + "\r\n";
    return out;
}

const QDate Wednesday(2001, 1, 17);
const QDate Friday(2001, 1, 19);
const QDate Saturday(2001, 1, 20);
} // namespace

class HandEntryCostTest : public ProgramTest {
protected:
    HandEntryCost calc;
    QString units = "keep";
};

TEST(DurationToSeconds, ReadsHoursMinutesSeconds)
{
    const struct {
        const char* text;
        double seconds;
    } cases[] = {{"1:30:15", 5415}, {"25:00:00", 90000}, {"45", 162000}, {"0:1", 60}, {"00:00:00", 0},
                 {"", 0},           {"0:0:1.5", 1.5},    {"x:2:3", 123}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(HandEntryCost::DurationToSeconds(c.text), c.seconds) << c.text;
}

TEST_F(HandEntryCostTest, WorkedResults)
{
    writeFile("Tarife/Net - Tag.tel", tariff("60 / 60", {{"0", "24", "4", "Nein"}}));
    writeFile("Tarife/Net - Sekunde.tel", tariff("60 / 1", {{"0", "24", "4", "Nein"}}));
    writeFile("Tarife/Net - Drei.atl",
              tariff("60 / 60", {{"0", "8", "2", "Nein"}, {"8", "18", "5", "Nein"}, {"18", "24", "3", "Nein"}}));
    writeFile("Tarife/Net - Woche.tel", tariff("60 / 60", {{"0", "24", "1", "Nein"}, {"0", "24", "2", "jA"}}));
    writeFile("Tarife/Net - Quer.tel", tariff("60 / 60", {{"22", "6", "9", "Nein"}, {"0", "24", "1", "Nein"}}));
    writeFile("Tarife/Net - Punkt.tel", tariff("60/60", {{"0", "24", "4.5", "Nein"}}));
    // hours as the tariff file means them: equal ends are the whole day, 24 as a start is midnight
    writeFile("Tarife/Net - Ganztag.tel", tariff("60 / 60", {{"0", "0", "4", "Nein"}, {"0", "0", "2", "Ja"}}));
    writeFile("Tarife/Net - Neun.tel", tariff("60 / 60", {{"9", "9", "4", "Nein"}}));
    writeFile("Tarife/Net - Nacht.tel", tariff("60 / 60", {{"24", "6", "3", "Nein"}, {"24", "0", "5", "Ja"}}));
    writeFile("Tarife/Net - Lang.tel", tariff("40000 / 40000", {{"0", "24", "2", "Nein"}})); // as the counter bills it
    writeFile("Tarife/Net - Exponent.tel",
              tariff("60 / 60", {{"0", "24", "4,5E+00", "Nein"}, {"0", "24", "5e-3", "Ja"}}));
    // a step price or a sum beyond the single range stops at its end
    writeFile("Tarife/Net - Riesig.tel", tariff("60 / 60", {{"0", "24", "3,4E+38", "Nein"}}));
    writeFile("Tarife/Net - RiesigLang.tel", tariff("60 / 120", {{"0", "24", "3,4E+38", "Nein"}}));

    const struct {
        const char* name;
        const char* item;
        QDate date;
        QTime start;
        double seconds;
        float cost;
        const char* units;
    } cases[] = {
        {"ten minutes", "M - Tag", Wednesday, QTime(10, 0), 600, 40, "10"},
        {"no duration", "M - Tag", Wednesday, QTime(10, 0), 0, 0, "0"},
        {"61 s at 60", "M - Tag", Wednesday, QTime(10, 0), 61, 8, "2"},
        {"second steps", "M - Sekunde", Wednesday, QTime(10, 0), 61, 61 * (4.0f / 60.0f), "keep"},
        {"across zone boundary", "A - Drei", Wednesday, QTime(17, 58), 240, 16, "4"},
        {"weekday zones on saturday", "A - Drei", Saturday, QTime(12, 0), 300, 0, "5"},
        {"friday into saturday", "M - Woche", Friday, QTime(23, 58), 240, 1 + 1 + 2 + 2, "4"},
        {"zone across midnight never", "M - Quer", Wednesday, QTime(23, 0), 120, 2, "2"},
        {"decimal point price", "M - Punkt", Wednesday, QTime(10, 0), 60, 4.5f, "1"},
        {"deleted file", "M - Weg", Wednesday, QTime(10, 0), 600, 0, "keep"},
        {"zone 0 to 0 on a weekday", "M - Ganztag", Wednesday, QTime(10, 0), 3600, 240, "60"},
        {"zone 0 to 0 on a saturday", "M - Ganztag", Saturday, QTime(23, 30), 1800, 60, "30"},
        {"zone 9 to 9 all day", "M - Neun", Wednesday, QTime(20, 0), 3600, 240, "60"},
        {"start of 24 is midnight", "M - Nacht", Wednesday, QTime(0, 0), 3600, 180, "60"},
        {"start of 24 ends at its end", "M - Nacht", Wednesday, QTime(5, 30), 3600, 31 * 3, "60"},
        {"24 to 0 all day", "M - Nacht", Saturday, QTime(12, 0), 600, 50, "10"},
        {"unit beyond 16 bits", "M - Lang", Wednesday, QTime(10, 0), 40000, 2 * 40000 / 60.0f, "1"},
        {"price with exponent", "M - Exponent", Wednesday, QTime(10, 0), 600, 45, "10"},
        {"small price with exponent", "M - Exponent", Saturday, QTime(10, 0), 600, 10 * 0.005f, "10"},
        {"largest price, one step", "M - Riesig", Wednesday, QTime(10, 0), 60, 3.4e38f, "1"},
        {"largest price, sum beyond", "M - Riesig", Wednesday, QTime(10, 0), 61, FLT_MAX, "2"},
        {"step beyond", "M - RiesigLang", Wednesday, QTime(10, 0), 120, FLT_MAX, "1"},
        {"steps beyond", "M - RiesigLang", Wednesday, QTime(10, 0), 3600, FLT_MAX, "30"},
    };
    for (const auto& c : cases) {
        units = "keep";
        const float cost = calc.CalculateCost("Net", c.item, c.date, c.start, c.seconds, &units);
        EXPECT_TRUE(std::isfinite(cost)) << c.name; // next to FLT_MAX, INF is within the float comparison's reach
        EXPECT_FLOAT_EQ(cost, c.cost) << c.name;
        EXPECT_EQ(units, c.units) << c.name;
    }
}

TEST_F(HandEntryCostTest, EachLoadStartsAfresh)
{
    writeFile("Tarife/Net - Takt.tel", tariff("60 / 30", {{"0", "24", "6", "Nein"}}));
    writeFile("Tarife/Net - OhneTakt.tel", tariff(nullptr, {{"0", "24", "6", "Nein"}}));
    EXPECT_FLOAT_EQ(calc.CalculateCost("Net", "M - Takt", Wednesday, QTime(9, 0), 60, &units), 6);
    EXPECT_EQ(units, "2");
    // A tariff without "Takt:" does not inherit the last tariff's unit length.
    units = "keep";
    EXPECT_EQ(calc.CalculateCost("Net", "M - OhneTakt", Wednesday, QTime(9, 0), 60, &units), 0);
    EXPECT_EQ(units, "keep");
    // An item of another kind keeps what was loaded last.
    EXPECT_FLOAT_EQ(calc.CalculateCost("Net", "M - Takt", Wednesday, QTime(9, 0), 60), 6);
    EXPECT_FLOAT_EQ(calc.CalculateCost("Net", "[Keine Zuordnung]", Wednesday, QTime(9, 0), 90), 9);
    // A deleted file gives 0, and the next existing one works again.
    EXPECT_EQ(calc.CalculateCost("Net", "M - Weg", Wednesday, QTime(9, 0), 60), 0);
    EXPECT_FLOAT_EQ(calc.CalculateCost("Net", "M - Takt", Wednesday, QTime(9, 0), 60), 6);
    // Texts of the date and start fields.
    EXPECT_FLOAT_EQ(calc.CalculateCost("Net", "M - Takt", QString("17.1.2001"), QString("09:00:00"), 60), 6);
    EXPECT_EQ(calc.CalculateCost("Net", "M - Takt", QString("31.02.2001"), QString("09:00:00"), 60), 0);
    EXPECT_EQ(calc.CalculateCost("Net", "M - Takt", QString("17.01.2001"), QString("25:00"), 60), 0);
}

TEST_F(HandEntryCostTest, LoadFailuresAndShortBlocks)
{
    QByteArray many = tariff("60 / 60", {});
    for (int i = 0; i < 255; ++i) many += "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:1\r\nEinheit:60\r\nWochenende:Nein\r\n";

    const struct {
        const char* name;
        QByteArray file;
        bool loads;
        int zones;
        qint32 unit;
    } cases[] = {
        {"255 blocks", many, true, 255, 60},
        {"256th block", many + "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:1\r\nEinheit:60\r\nWochenende:Nein\r\n", false, 0,
         0},
        {"cut block left out",
         tariff("60 / 60", {{"0", "24", "2", "Nein"}}) + "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:7\r\n", true, 1, 60},
        {"unit beyond 16 bits", tariff("60 / 70000", {{"0", "24", "2", "Nein"}}), true, 1, 70000},
        {"unit beyond 32 bits", tariff("60 / 2147483648", {{"0", "24", "2", "Nein"}}), false, 0, 0},
        {"takt without slash", tariff("60", {{"0", "24", "2", "Nein"}}), true, 1, 0},
        {"hour beyond a byte", tariff("60 / 60", {{"0", "256", "2", "Nein"}}), false, 0, 0},
        {"negative hour", tariff("60 / 60", {{"-1", "24", "2", "Nein"}}), false, 0, 0},
        {"price not a number", tariff("60 / 60", {{"0", "24", "2 Cent", "Nein"}}), false, 0, 0},
        {"exponent without digit", tariff("60 / 60", {{"0", "24", "5E", "Nein"}}), false, 0, 0},
        {"empty price", tariff("60 / 60", {{"0", "24", "", "Nein"}}), false, 0, 0},
        {"no zones", QByteArray("Takt:60 / 60\r\n"), true, 0, 60},
        {"halves to even", tariff("60 / 30.5", {{"0.5", "23.5", "2", "Nein"}}), true, 1, 30},
    };
    for (const auto& c : cases) {
        writeFile("Tarife/Net - T.tel", c.file);
        EXPECT_EQ(calc.LoadTarifZones("Net - T.tel"), c.loads) << c.name;
        EXPECT_EQ(calc.ZoneTable.size(), c.zones) << c.name;
        EXPECT_EQ(calc.UnitLength, c.unit) << c.name;
    }
    writeFile("Tarife/Net - T.tel", tariff("60 / 60", {{"0.5", "23.5", "2", "Nein"}}));
    ASSERT_TRUE(calc.LoadTarifZones("Net - T.tel"));
    EXPECT_EQ(calc.ZoneTable[0].from, 0);
    EXPECT_EQ(calc.ZoneTable[0].to, 24);

    // Without zones every step costs 0, but the steps are still counted.
    writeFile("Tarife/Net - Leer.tel", "Takt:60 / 60\r\n");
    EXPECT_EQ(calc.CalculateCost("Net", "M - Leer", Wednesday, QTime(9, 0), 180, &units), 0);
    EXPECT_EQ(units, "3");
}

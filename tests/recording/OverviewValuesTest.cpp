#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "recording/OverviewValues.h"

#include "support/BudgetRecordBuilder.h"

using namespace OverviewValues;

namespace {
class OverviewValuesTest : public BudgetTest {
protected:
    void usage(const QString& name, const QString& duration, const QString& bytes, const QString& tariff)
    {
        TestRecord r;
        r.name = name;
        r.duration = duration;
        r.bytesTotal = bytes;
        r.tariff = tariff;
        ASSERT_TRUE(WriteTestRecord(dir.path(), r));
    }
    void tariff(const QString& file, const QByteArray& line)
    {
        writeFile("Tarife/" + file, "[Providerdaten]\r\nName:x\r\nVolumenabrechnung:Nein\r\n" + line +
                                        "\r\n\r\n[Tarifzonen]\r\nZone:T\r\nVon:0\r\nBis:24\r\nPfennig:1,9\r\n"
                                        "Einheit:60\r\nWochenende:Nein\r\n");
    }
};
} // namespace

TEST_F(OverviewValuesTest, RemainingBudgetsTextsColoursAndBars)
{
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "5", " 0", "8", "1.1.2001", "31.1.2001"));
    spent("15012001-080000.con", "3,00");
    spent("15012001-090000.con", "2,00");
    spent("10012001-090000.con", "10,50");
    RemainingBudgets r = ShowRemainingBudgets("Anna");
    EXPECT_FALSE(r.budgetFileMissing);
    EXPECT_EQ(r.day.amount, "0,00 €");
    EXPECT_EQ(r.day.percent, "0,0%");
    EXPECT_EQ(r.day.amountColour, BUDGET_COLOUR_DARK_GREEN);
    EXPECT_EQ(r.month.amount, "0.00 €"); // a budget that is off keeps the reset text
    EXPECT_EQ(r.month.percent, "nicht festgelegt");
    EXPECT_EQ(r.month.bar, 0);
    EXPECT_EQ(r.period.amount, "-7,50 €");
    EXPECT_EQ(r.period.amountColour, BUDGET_COLOUR_NEGATIVE_BUDGET);
    EXPECT_EQ(r.period.percent, "0,0%");
    EXPECT_EQ(r.period.bar, 0);
    EXPECT_EQ(r.periodCaption, "Zeitraum: 01.01.2001 - 31.01.2001");
    EXPECT_TRUE(IsBudgetExceeded(r));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "8", " 0", " 0"));
    r = ShowRemainingBudgets("Anna");
    EXPECT_EQ(r.day.amount, "3,00 €");
    EXPECT_EQ(r.day.percent, "37,5%");
    EXPECT_FLOAT_EQ(r.day.bar, 37.5f);
    EXPECT_FALSE(IsBudgetExceeded(r));
}

TEST_F(OverviewValuesTest, MissingBudgetFileShowsTheMessageAndCountsAsExceeded)
{
    for (const QString& user : {QString("Anna"), QString()}) {
        dialogs.messages.clear();
        const RemainingBudgets r = ShowRemainingBudgets(user);
        ASSERT_EQ(dialogs.texts(), QStringList{BUDGET_FILES_DAMAGED});
        EXPECT_EQ(dialogs.messages[0].style, vbOKOnly);
        EXPECT_TRUE(r.budgetFileMissing);
        EXPECT_EQ(r.day.amount, "0.00 €");
        EXPECT_TRUE(r.periodCaption.isEmpty());
        EXPECT_TRUE(IsBudgetExceeded(r));
    }
    // One budget for all reads Budget.dat, and a user's own file does not stand in for it.
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Anna.bdg"), "5", " 0", " 0"));
    ASSERT_TRUE(WriteTextLines(path("Benutzer/Benutzer.dat"), {" 1", " 0", " 0", "Standard"}));
    dialogs.messages.clear();
    EXPECT_TRUE(ShowRemainingBudgets("Anna").budgetFileMissing);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(OverviewValuesTest, ExceededWhenABudgetThatIsOnRoundsToZeroOrLess)
{
    const struct {
        bool dayOn;
        float day;
        bool monthOn;
        float month;
        bool exceeded;
    } cases[] = {
        {true, 0.01f, true, 5, false},  {true, 0.005f, true, 5, false}, {true, 0.0049f, true, 5, true},
        {true, 0, true, 5, true},       {true, -0.001f, true, 5, true}, {true, -3, true, 5, true},
        {false, 0, false, -3, false},   {false, 0, true, 0.004f, true}, {false, 0, false, 0, false},
    };
    for (const auto& c : cases) {
        RemainingBudgets r;
        r.day.on = c.dayOn;
        r.day.remaining = c.day;
        r.month.on = c.monthOn;
        r.month.remaining = c.month;
        r.period.on = false;
        EXPECT_EQ(IsBudgetExceeded(r), c.exceeded) << c.day << " " << c.month;
    }
}

TEST_F(OverviewValuesTest, FreeTimeOfThisMonthAndTariff)
{
    tariff("Netz - Tag.tel", "Freiminuten:90");
    EXPECT_EQ(FreeAllowanceLeft("Netz - Tag.tel"), "1:30:00");
    FreeAllowance a = ShowFreeTime("Netz - Tag.tel");
    EXPECT_EQ(a.caption, "Verbleibende kostenfreie Zeit:");
    EXPECT_EQ(a.text, "01:30:00");
    EXPECT_EQ(a.percent, "100,0%");
    EXPECT_TRUE(a.percentShown);
    EXPECT_EQ(G_FreeAllowanceLeft, "1:30:00");

    usage("02012001-100000.con", "01:00:00", "0", "Netz - Tag.tel");
    usage("03012001-100000.con", "00:15:00", "0", "Netz - Tag.tel");
    usage("04012001-100000.con", "05:00:00", "0", "Netz - Nacht.tel"); // another tariff
    usage("05012000-100000.con", "05:00:00", "0", "Netz - Tag.tel");   // a year ago
    usage("05122000-100000.con", "05:00:00", "0", "Netz - Tag.tel");   // last month
    a = ShowFreeTime("Netz - Tag.tel");
    EXPECT_EQ(a.text, "00:15:00");
    EXPECT_EQ(a.colour, BUDGET_COLOUR_DARK_GREEN);
    EXPECT_EQ(a.percent, "16,7%");
    EXPECT_EQ(G_FreeAllowanceLeft, "00:15:00");

    usage("06012001-100000.con", "00:45:00", "0", "Netz - Tag.tel");
    G_FreeAllowanceLeft = "-";
    EXPECT_EQ(FreeAllowanceLeft("Netz - Tag.tel"), "-00:30:00");
    EXPECT_EQ(G_FreeAllowanceLeft, "-"); // the counter's reader leaves the page's value alone
    a = ShowFreeTime("Netz - Tag.tel");
    EXPECT_EQ(a.text, "0 (überschritten um 00:30:00)");
    EXPECT_EQ(a.colour, BUDGET_COLOUR_DARK_RED);
    EXPECT_FALSE(a.percentShown);
    EXPECT_EQ(G_FreeAllowanceLeft, "-00:30:00");
}

TEST_F(OverviewValuesTest, FreeTransferCountsEveryRecordOfTheMonthAndReadsBack)
{
    tariff("Kabel - Volumen.tel", "Freiminuten:0\r\nVolumengrenze:5");
    tariff("Kabel - Keine.tel", "Freiminuten:0");
    FreeAllowance a = ShowFreeTime("Kabel - Keine.tel");
    EXPECT_EQ(a.caption, "Verbleibende kostenfreie Zeit:");
    EXPECT_EQ(a.text, "Keine");
    EXPECT_EQ(a.colour, BUDGET_COLOUR_DARK_RED);
    EXPECT_EQ(G_FreeAllowanceLeft, "-");

    usage("02012001-100000.con", "00:01:00", "1234567", "Netz - Tag.tel"); // any tariff counts
    usage("02122000-100000.con", "00:01:00", "9000000", "Kabel - Volumen.tel");
    a = ShowFreeTime("Kabel - Volumen.tel");
    EXPECT_EQ(a.caption, "Verbleibender kostenfreier Transfer:");
    EXPECT_EQ(a.text, "4MB");
    EXPECT_EQ(a.percent, "75,3%");
    EXPECT_EQ(G_FreeAllowanceLeft, "3,765433");
    EXPECT_FLOAT_EQ(ValDecimal(G_FreeAllowanceLeft), 3.765433f);
    EXPECT_EQ(FreeAllowanceLeft("Kabel - Volumen.tel"), "3,765433");

    usage("03012001-100000.con", "00:01:00", "3765433", "Netz - Tag.tel");
    EXPECT_EQ(ShowFreeTransfer("Kabel - Volumen.tel").text, "0MB");
    EXPECT_EQ(G_FreeAllowanceLeft, "0");
    usage("04012001-100000.con", "00:01:00", "1500000", "Netz - Tag.tel");
    a = ShowFreeTransfer("Kabel - Volumen.tel");
    EXPECT_EQ(a.text, "0 (überschritten um 2MB)"); // 1,5 rounded away from zero
    EXPECT_FALSE(a.percentShown);
    EXPECT_EQ(G_FreeAllowanceLeft, "-1,5");
    EXPECT_FLOAT_EQ(ValDecimal(G_FreeAllowanceLeft), -1.5f);
}

// A free allowance whose number lies beyond the range it is used in is malformed, as no allowance: never "iMB",
// "-n,a%" or a negative free time.
TEST_F(OverviewValuesTest, FreeAllowanceBeyondItsRangeIsNone)
{
    const QByteArray largest = "1" + QByteArray(305, '0'); // megabytes whose kilobytes are still a double
    const struct {
        QByteArray lines;
        QString text, percent, left;
    } cases[] = {
        {"Freiminuten:0\r\nVolumengrenze:2" + QByteArray(305, '0'), "Keine", "", "-"},
        {"Freiminuten:0\r\nVolumengrenze:1" + QByteArray(308, '0'), "Keine", "", "-"},
        {"Freiminuten:-1E+400\r\nVolumengrenze:0", "Keine", "", "-"},
        {"Freiminuten:0\r\nVolumengrenze:" + largest, largest + "MB", "100,0%", {}}, // left: reads back as 1E+305
    };
    for (const auto& c : cases) {
        tariff("Netz - Frei.tel", c.lines);
        const FreeAllowance a = ShowFreeTime("Netz - Frei.tel");
        const std::string trace = c.lines.left(40).toStdString();
        EXPECT_EQ(a.text, c.text) << trace;
        EXPECT_EQ(a.percent, c.percent) << trace;
        if (c.left.isNull()) {
            EXPECT_EQ(Val(a.left), 1e305) << trace;
        } else {
            EXPECT_EQ(a.left, c.left) << trace;
        }
        EXPECT_EQ(FreeAllowanceLeft("Netz - Frei.tel"), a.left) << trace;
    }
}

TEST_F(OverviewValuesTest, CheapestEntryKeepsTheFirstOfEqualPrices)
{
    tariff("Netz - Tag.tel", "Freiminuten:0");
    writeFile("Tarife/Welle - Flat.atl", "[Providerdaten]\r\nVolumenabrechnung:Nein\r\n\r\n[Tarifzonen]\r\n"
                                         "Zone:T\r\nVon:0\r\nBis:24\r\nPfennig:1,9\r\nEinheit:60\r\nWochenende:Nein\r\n");
    writeFile("Tarife/Teuer - X.tel", "[Tarifzonen]\r\nZone:T\r\nVon:0\r\nBis:24\r\nPfennig:64000\r\nEinheit:60\r\n"
                                      "Wochenende:Nein\r\n");
    writeFile("DialUp/Ohne.trf", "[Keine Zuordnung]\r\n[Keine Zuordnung]\r\n");
    writeFile("DialUp/Halb.trf", "Netz\r\n[Keine Zuordnung]\r\n");
    writeFile("DialUp/Weg.trf", "Netz\r\nM - Gelöscht\r\n");
    writeFile("DialUp/Teuer.trf", "Teuer\r\nM - X\r\n");
    writeFile("DialUp/Welle.trf", "Welle\r\nA - Flat\r\n");
    writeFile("DialUp/Netz.trf", "Netz\r\nM - Tag\r\n");
    EXPECT_EQ(ShowCheapestEntry({"Ohne", "Halb", "Weg", "Keine Datei", "Teuer"}), "");
    EXPECT_EQ(ShowCheapestEntry({"Ohne", "Weg", "Welle", "Netz"}), "Welle (0,019 €)");
    EXPECT_EQ(ShowCheapestEntry({"Netz", "Welle"}), "Netz (0,019 €)");
}

TEST_F(OverviewValuesTest, ConnectionCost)
{
    spent("15012001-080000.con", "1,20");
    spent("15012001-090000.con", "-0,50");
    spent("15012001-100000.con", "");
    EXPECT_DOUBLE_EQ(GetConnectionCost("15012001-080000.con"), 1.2);
    EXPECT_DOUBLE_EQ(GetConnectionCost("15012001-090000.con"), -0.5);
    EXPECT_EQ(GetConnectionCost("15012001-100000.con"), 0);
    EXPECT_EQ(GetConnectionCost("fehlt.con"), 0);
    // A record cut short before its cost line costs nothing, whatever its last line holds.
    writeCipher("Verbindungen/16012001-100000.con", {"S16.01.2001", "10:00:00", "02:00:00"});
    EXPECT_EQ(GetConnectionCost("16012001-100000.con"), 0);
}

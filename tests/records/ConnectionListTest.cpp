#include "records/ConnectionList.h"
#include "core/Globals.h"
#include "core/TimeRoutines.h"
#include "support/TestSupport.h"

namespace {
QStringList recordLines(const QString& date, const QString& duration = "00:10:00", const QString& cost = "1,00",
                        const QString& tariff = "Netz - Tag.tel", const QString& user = "Anna")
{
    return {"S" + date, "12:00:00", duration, "S" + cost, "3", "2000", "500", "2500", "Modem", tariff, user};
}
} // namespace

class ConnectionListTest : public ProgramTest {
protected:
    void record(const QString& name, const QStringList& lines) { writeCipher("Verbindungen/" + name, lines); }
    // the date column of every row listed, in walk order
    QStringList dates(const ConnectionListResult& r) const
    {
        QStringList out;
        for (const ConnectionRow& row : r.rows)
            out << row.cell(ColDate);
        return out;
    }
    ConnectionListResult load(int period, bool net = false)
    {
        ConnectionListQuery q;
        q.period = period;
        q.net = net;
        return LoadConnectionList(q, marking);
    }
    ListMarking marking;
};

TEST(MonthsBefore, TakesTheFirstOfTheMonth)
{
    EXPECT_EQ(MonthsBefore(QDate(2004, 3, 31), 1), QDate(2004, 2, 1));
    EXPECT_EQ(MonthsBefore(QDate(2004, 1, 15), 1), QDate(2003, 12, 1));
    EXPECT_EQ(MonthsBefore(QDate(2004, 2, 29), 2), QDate(2003, 12, 1));
    EXPECT_EQ(MonthsBefore(QDate(2004, 2, 29), 0), QDate(2004, 2, 1));
}

TEST_F(ConnectionListTest, PeriodsByTheFileNameAcrossMonthAndYearEnds)
{
    for (const char* d : {"01032004", "29022004", "28022004", "15122003", "15122002", "31012004"})
        record(QString(d) + "-120000.con", recordLines(QString(d).insert(4, '.').insert(2, '.')));
    const struct {
        QDate today;
        int period;
        QStringList listed;
    } cases[] = {
        {QDate(2004, 3, 1), PeriodYesterday, {"29.02.2004"}},
        {QDate(2004, 3, 1), PeriodDayBeforeYesterday, {"28.02.2004"}},
        {QDate(2004, 1, 15), PeriodLastMonth, {"15.12.2003"}},
        {QDate(2004, 3, 31), PeriodLastMonth, {"28.02.2004", "29.02.2004"}},
        {QDate(2004, 2, 10), PeriodMonthBeforeLast, {"15.12.2003"}},
        {QDate(2004, 5, 10), PeriodLastYear, {"15.12.2003"}},
        {QDate(2004, 5, 10), 10, {}},
    };
    for (const auto& c : cases) {
        clock.set(QDateTime(c.today, QTime(9, 0)));
        EXPECT_EQ(dates(load(c.period)), c.listed) << c.today.toString().toStdString() << " " << c.period;
    }
}

TEST_F(ConnectionListTest, DefinedPeriodFromPeriodCfg)
{
    record("10022004-120000.con", recordLines("10.02.2004"));
    record("20022004-120000.con", recordLines("20.02.2004"));
    record("30121899-120000.con", recordLines("30.12.1899")); // named for day zero
    EXPECT_TRUE(load(PeriodDefined).rows.empty()); // no Period.cfg: nothing lies inside
    writeFile("Config/Period.cfg", "01.02.2004\r\n10.02.2004\r\n");
    EXPECT_EQ(dates(load(PeriodDefined)), QStringList{"10.02.2004"});
    // a start that is no date is day zero, before every record; an end that is none lists nothing
    writeFile("Config/Period.cfg", "kein Datum\r\n15.02.2004\r\n");
    EXPECT_EQ(dates(load(PeriodDefined)), QStringList({"10.02.2004", "30.12.1899"}));
    for (const char* cfg : {"01.02.2004\r\n\r\n", "kein Datum\r\nkeins\r\n", "kein Datum\r\n", ""}) {
        writeFile("Config/Period.cfg", cfg);
        EXPECT_TRUE(load(PeriodDefined).rows.empty()) << cfg;
    }
}

TEST_F(ConnectionListTest, RowsTotalsAndDroppedRecords)
{
    record("01012004-100000.con", recordLines("01.01.2004", "25:10:00", "2,50"));
    record("02012004-100000.con", recordLines("02.01.2004", "99:50:30", "1,25"));
    QStringList noDate = recordLines("03.01.2004");
    noDate[0] = "Sunbekannt";
    record("03012004-100000.con", noDate);
    QStringList emptyLine = recordLines("04.01.2004");
    emptyLine[8].clear();
    record("04012004-100000.con", emptyLine);
    record("05012004-100000.con", recordLines("05.01.2004").mid(0, 10));
    QStringList commented = recordLines("06.01.2004", "0:0:30");
    commented << "Hallo";
    record("06012004-100000.con", commented);

    G_Currency = "€";
    const ConnectionListResult r = load(PeriodAll);
    ASSERT_EQ(dates(r), (QStringList{"01.01.2004", "02.01.2004", "06.01.2004"}));
    EXPECT_EQ(r.rows[0].cells,
              (QStringList{"", "01.01.2004", "12:00:00", "25:10:00", "2,500", "3", "2000", "500", "2500", "Modem",
                           "Netz - Tag", "Anna", "", "01012004-100000.con", "20040101"}));
    EXPECT_EQ(r.rows[2].cell(ColComment), "Hallo");
    EXPECT_EQ(r.rows[0].icon, 0);
    EXPECT_EQ(r.durationText, "125:01:00");
    EXPECT_EQ(r.costText, "4,75 €");
}

TEST_F(ConnectionListTest, HugeDurationsSaturate)
{
    const QString huge = "99999999999999999999:00:00";
    // the largest cost a recording stores, twice: the total stops at the end of the single range
    const QString largestCost = "340282300000000000000000000000000000000,00";
    record("01012004-100000.con", recordLines("01.01.2004", huge, largestCost));
    record("02012004-100000.con", recordLines("02.01.2004", huge, largestCost));
    record("03012004-100000.con", recordLines("03.01.2004", "00:59:59"));
    G_Currency = "€";
    writeFile("Config/Difference.cfg", " 2\r\n0\r\n0\r\n0\r\n0:0:0\r\n1:0:0\r\n" + huge.toLatin1() + "\r\n");
    const ConnectionListResult r = load(PeriodAll);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].icon, 2); // beyond an hour, not beyond the saturated threshold
    EXPECT_EQ(r.rows[2].icon, 1);
    EXPECT_EQ(r.hours, std::numeric_limits<qint64>::max());
    EXPECT_EQ(r.durationText, "9223372036854775807:59:59");
    EXPECT_EQ(r.rows[0].cell(ColCost), largestCost + "0");
    EXPECT_EQ(r.costText, largestCost + " €");

    record("01012004-100000.con", recordLines("01.01.2004", "-" + huge));
    record("02012004-100000.con", recordLines("02.01.2004", "-" + huge));
    EXPECT_EQ(load(PeriodAll).hours, std::numeric_limits<qint64>::min());
}

TEST_F(ConnectionListTest, NetModeAndTaxDat)
{
    record("01012004-100000.con", recordLines("01.01.2004", "00:10:00", "1,00"));
    const struct {
        const char* stored; // nullptr: no Tax.dat
        const char* cost;
        const char* after;
        bool message;
    } cases[] = {
        {nullptr, "0,840", " 16\r\n", false},
        {"16.5\r\n", "0,840", "16.5\r\n", false},
        {"17.5", "0,820", "17.5", false},
        {"16,9", "0,840", "16,9", false},
        {"", "0,840", "", false},
        {"100", "0,000", "100", false},
        {"101\r\n", "0,840", " 16\r\n", true},
        {"-1", "0,840", " 16\r\n", true},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        QFile::remove(path("Tax.dat"));
        if (c.stored) writeFile("Tax.dat", c.stored);
        const ConnectionListResult r = load(PeriodAll, true);
        ASSERT_EQ(r.rows.size(), 1u);
        EXPECT_EQ(r.rows[0].cell(ColCost), c.cost) << (c.stored ? c.stored : "missing");
        EXPECT_EQ(readFile("Tax.dat"), QByteArray(c.after));
        ASSERT_EQ(dialogs.messages.size(), c.message ? 1 : 0);
        if (c.message) {
            EXPECT_EQ(dialogs.messages[0].text, TAX_RANGE_MESSAGE);
            EXPECT_EQ(dialogs.messages[0].style, vbInformation);
        }
    }
}

TEST(MatchesTarifFilter, ProviderByItsOwnNameAndTariffItem)
{
    const struct {
        const char* file;
        const char* provider;
        const char* item;
        bool passes;
    } cases[] = {
        {"Netz-Plus - Abend.atl", "Netz-Plus", "A - Abend", true},
        {"Netz-Plus - Abend.atl", "Netz-Plus", "[Alle]", true},
        {"Netz-Plus - Abend.atl", "Netz", "[Alle]", false},
        {"Netz-Plus - Abend.atl", "Netz-Plus", "M - Abend", false},
        {"Netz-Plus - Abend.ATL", "Netz-Plus", "A - Abend", true},
        {"Netz-Plus - Abend.atl", "[Alle]", "", true},
        {"Netz - Tag.tel", "Netz", "M - Tag", true},
        {"Netz - Tag.tel", "Netz", "M - Nacht", false},
        {"Netz-Tag.tel", "Netz", "[Alle]", false}, // no " -": no provider
        {"Netz -.tel", "Netz", "M - ", false},     // no room for a tariff name
        {"", "Netz", "[Alle]", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesTarifFilter(c.file, c.provider, c.item), c.passes)
            << c.file << " " << c.provider << " " << c.item;
}

TEST_F(ConnectionListTest, FiltersByProviderTariffAndUser)
{
    record("01012004-100000.con", recordLines("01.01.2004", "00:10:00", "1,00", "Netz-Plus - Abend.atl", "Anna"));
    record("02012004-100000.con", recordLines("02.01.2004", "00:10:00", "1,00", "Netz - Tag.tel", "Bernd"));
    ConnectionListQuery q;
    q.provider = "Netz-Plus";
    q.tariff = "A - Abend";
    ConnectionListResult r = LoadConnectionList(q, marking);
    ASSERT_EQ(dates(r), QStringList{"01.01.2004"});
    EXPECT_EQ(r.rows[0].cell(ColTariff), "Netz-Plus - Abend");
    q = {};
    q.user = "Bernd";
    EXPECT_EQ(dates(LoadConnectionList(q, marking)), QStringList{"02.01.2004"});
}

TEST_F(ConnectionListTest, MarkingByTheChosenCategory)
{
    record("01012004-100000.con", recordLines("01.01.2004", "00:10:00", "2,00"));
    const struct {
        const char* cfg;
        int icon;
    } cases[] = {
        {" 1\r\n1\r\n2\r\n3\r\n", 1},                               // equal to a threshold does not exceed it
        {" 1\r\n5\r\n1\r\n10\r\n", 2},                              // the last one exceeded wins
        {" 2\r\n0\r\n0\r\n0\r\n0:5:0\r\n0:10:0\r\n1:0:0\r\n", 1},   // 10 minutes
        {" 3\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n2\r\n3\r\n", 2}, // 2500 bytes are 2.5 kilobytes
        {" 4\r\n", -1},
    };
    for (const auto& c : cases) {
        writeFile("Config/Difference.cfg", c.cfg);
        EXPECT_EQ(load(PeriodAll).rows[0].icon, c.icon) << c.cfg;
    }
}

TEST_F(ConnectionListTest, FilesOutsideThePeriodAreNotOpened)
{
    record("01012004-100000.con", recordLines("01.01.2004"));
    writeFile("Verbindungen/01012003-100000.con", QByteArray(60000, 'x'));
    clock.set(QDateTime(QDate(2004, 1, 1), QTime(9, 0)));
    const qint64 before = BytesReadSoFar();
    EXPECT_EQ(load(PeriodToday).rows.size(), 1u);
    if (before >= 0) {
        EXPECT_LT(BytesReadSoFar() - before, 30000);
    }
}

#include "analysis/Analysis.h"

#include "core/Globals.h"
#include "support/BudgetRecordBuilder.h"

#include <QDir>

namespace {

TestRecord rec(const QString& name, const QString& start = "10:00:00", const QString& duration = "0:10:00",
               const QString& cost = "1,00", const QString& bytes = "0", const QString& user = "Anna")
{
    return {name, cost, user, duration, bytes, "Netz - Tag.tel", start};
}

class AnalysisTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        G_Currency = QStringLiteral("€");
        clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0, 0)));
    }
    void record(const TestRecord& r) { ASSERT_TRUE(WriteTestRecord(dir.path(), r)); }
    void record(const QString& name, const QStringList& plain) { writeCipher("Verbindungen/" + name, plain); }
};

const QStringList EMPTY_ALL = {
    "Eine Auswertung ist aufgrund unzureichender Daten nicht möglich.",
    "Die durchschnittliche Verbindungsdauer liegt bei 0 Minuten.",
    "Pro Tag verbringen sie durchschnittlich 0 Minuten, pro Woche 0,0 Stunden im Internet.",
    "Die durchschnittlichen Verbindungskosten liegen bei 0,00 €.",
    "Pro Tag geben Sie für die Internetnutzung durchschnittlich 0,00 € aus, pro Woche 0,00 €.",
    "Der durchschnittliche Transfer pro Verbindung beträgt 0 KB.",
    "Pro Tag ergibt sich ein Transfervolumen von durchschnittlich 0 KB, pro Woche 0 MB.",
    "Die meistgewählte DFÜ Verbindung ist nicht ermittelbar.",
    "Der meistgenutzte Tarif ist nicht ermittelbar.",
    "Der aktivste Benutzer ist nicht ermittelbar.",
    "Eine Einschätzung ist aufgrund unzureichender Daten nicht möglich.",
};

} // namespace

TEST(DaytimeMinutes, CountsMinutesFromEightToBeforeTwentyAfterTheStart)
{
    EXPECT_EQ(GetDaytimeMinutes(QTime(7, 58), 4), 3);
    EXPECT_EQ(GetDaytimeMinutes(QTime(19, 58), 3), 1);
    EXPECT_EQ(GetDaytimeMinutes(QTime(12, 0), -30), 0);
    EXPECT_EQ(GetDaytimeMinutes(QTime(20, 0), 5 * 1440 + 720), 5 * 720 + 1);
    // against stepping minute by minute, every start of a day and every length up to two days
    for (int t = 0; t < 1440; t += 7)
        for (qint64 m = 0; m <= 2880; m += 13) {
            qint64 stepped = 0;
            for (qint64 k = 1; k <= m; ++k) stepped += (t + k) % 1440 / 60 >= 8 && (t + k) % 1440 / 60 < 20;
            ASSERT_EQ(GetDaytimeMinutes(QTime(t / 60, t % 60), m), stepped) << t << " +" << m;
        }
}

TEST_F(AnalysisTest, PeriodDaysByCalendarMonthWholeYearAndOldestRecord)
{
    struct Case {
        QDate today;
        QString period;
        int expected;
    } cases[] = {
        {QDate(2004, 1, 15), "Letzter Monat", 31},   {QDate(2004, 2, 10), "Vorletzter Monat", 31},
        {QDate(2004, 2, 10), "Dieser Monat", 28},    {QDate(2004, 6, 1), "Dieser Monat", 30},
        {QDate(2004, 12, 31), "Letzter Monat", 30},  {QDate(2004, 3, 1), "Dieses Jahr", 365},
        {QDate(2004, 3, 1), "Letztes Jahr", 365},    {QDate(2004, 3, 1), "Gesamt", 7},
        {QDate(2004, 3, 1), "Unbekannt", 7},         {QDate(2004, 3, 1), "", 7},
    };
    for (const Case& c : cases) {
        clock.set(QDateTime(c.today, QTime(12, 0)));
        EXPECT_EQ(GetPeriodDays(c.period), c.expected) << c.period.toStdString();
    }
    clock.set(QDateTime(QDate(2004, 3, 1), QTime(12, 0)));
    record(rec("01032004-080000.con"));
    record(rec("05032004-080000.con")); // later than today: never the oldest
    EXPECT_EQ(GetPeriodDays("Gesamt"), 7);
    record(rec("31012004-080000.con", "10:00:00", "0:10:00", "1,00", "0", "Bert")); // any user counts
    EXPECT_EQ(GetPeriodDays("Gesamt"), 30);
    writeFile("Verbindungen/kaputt.con", ""); // no date in the name: 1 January 2000
    EXPECT_EQ(GetPeriodDays("Gesamt"), int(QDate(2000, 1, 1).daysTo(QDate(2004, 3, 1))));
}

TEST_F(AnalysisTest, SentencesAndTotalsOfTwoRecordsOfLastMonth)
{
    record(rec("10122003-075800.con", "07:58:00", "0:04:30", "1,50", "2000000"));
    record(rec("11122003-195800.con", "19:58:00", "0:03:40", "0,75", "500000"));
    record(rec("02012004-100000.con")); // this month
    record(rec("10112003-100000.con")); // the month before
    const AnalysisResult r = BuildAnalysis("Letzter Monat", "[Alle]");
    const QStringList expected = {
        "Sie surfen mehr tagsüber als nachts (50% zwischen 8 und 20 Uhr, 50% in der restlichen Zeit).",
        "Die durchschnittliche Verbindungsdauer liegt bei 4 Minuten.",
        "Pro Tag verbringen sie durchschnittlich 0 Minuten, pro Woche 0,0 Stunden im Internet.",
        "Die durchschnittlichen Verbindungskosten liegen bei 1,13 €.",
        "Pro Tag geben Sie für die Internetnutzung durchschnittlich 0,07 € aus, pro Woche 0,51 €.",
        "Der durchschnittliche Transfer pro Verbindung beträgt 1250 KB.",
        "Pro Tag ergibt sich ein Transfervolumen von durchschnittlich 81 KB, pro Woche 1 MB.",
        "Die meistgewählte DFÜ Verbindung ist: Netz (2 Verbindungen)",
        "Der meistgenutzte Tarif lautet: Netz - Tag.tel (2 Verbindungen)",
        "Der aktivste Benutzer ist: Anna (2 Verbindungen)",
        "Das entspricht einem Wenignutzer mit sehr geringem Datenaufkommen.",
    };
    EXPECT_EQ(r.sentences, expected);
    EXPECT_EQ(r.totalDuration, "00:08:10");
    EXPECT_EQ(r.totalCost, "2,25 €");
    EXPECT_EQ(r.totalTransfer, "2500 KB");
}

TEST_F(AnalysisTest, EmptySelectionsAndTheUserHint)
{
    record(rec("10122003-075800.con"));
    struct Case {
        QString period, user;
    } cases[] = {{"Dieser Monat", "[Alle]"}, {"Dieses Jahr", "[Alle]"}, {"Irgendwas", "[Alle]"}, {"Gesamt", "Carl"},
                 {"Gesamt", "anna"}};
    for (const Case& c : cases) {
        const AnalysisResult r = BuildAnalysis(c.period, c.user);
        QStringList expected = EMPTY_ALL;
        if (c.user != "[Alle]")
            expected[9] = "Stellen Sie als Benutzer \"[Alle]\" ein um den aktivsten Benutzer zu ermitteln.";
        EXPECT_EQ(r.sentences, expected) << c.period.toStdString() << "/" << c.user.toStdString();
        EXPECT_EQ(r.totalDuration, "00:00:00");
        EXPECT_EQ(r.totalCost, "0,00 €");
        EXPECT_EQ(r.totalTransfer, "0 KB");
    }
}

TEST_F(AnalysisTest, OnlyCompleteRecordsWithAValidStartCount)
{
    const TestRecord good = rec("10122003-100000.con");
    record(good);
    const QStringList lines = TestRecordLines(good);
    const auto variant = [&](const QString& name, int line, const QString& text) {
        QStringList l = lines;
        l[line - 1] = text;
        record(name, l);
    };
    variant("11122003-100000.con", 1, "S");        // only the marker
    variant("12122003-100000.con", 4, "S");
    variant("13122003-100000.con", 6, "");
    record("14122003-100000.con", lines.mid(0, 10)); // line 11 missing
    variant("15122003-100000.con", 2, "25:00:00");   // no time of day
    variant("16122003-100000.con", 2, "zehn Uhr");
    variant("17122003-100000.con", 11, "anna");      // another user for "Anna"
    const AnalysisResult anna = BuildAnalysis("Gesamt", "Anna");
    EXPECT_EQ(anna.totalDuration, "00:10:00");
    EXPECT_EQ(anna.totalCost, "1,00 €");
    const AnalysisResult all = BuildAnalysis("Gesamt", "[Alle]");
    EXPECT_EQ(all.totalDuration, "00:20:00");
    EXPECT_EQ(all.sentences[9], "Der aktivste Benutzer ist: Anna (1 Verbindungen)"); // first of a tie
}

TEST_F(AnalysisTest, DurationsSumFieldByField)
{
    clock.set(QDateTime(QDate(2004, 4, 20), QTime(12, 0)));
    const QString largest = "340282300000000000000000000000000000000,00";
    struct Case {
        QStringList durations;
        QString total, perConnection;
        QString cost = "1,00", totalCost = {}; // each record's, and the total when it is pinned
    } cases[] = {
        {{"0:00:40", "0:00:30"}, "00:01:10", "1"},
        {{"1:30:45"}, "01:30:45", "90"},
        {{"25:59:59", "99:00:01"}, "125:00:00", "3750"},
        // the largest cost a record holds, twice: the total stops at the end of the single range
        {{"0:10:00", "0:10:00"}, "00:20:00", "10", largest, largest + " €"},
    };
    for (const Case& c : cases) {
        QDir(path("Verbindungen")).removeRecursively();
        for (int i = 0; i < c.durations.size(); ++i)
            record(rec("0" + QString::number(i + 1) + "042004-100000.con", "10:00:00", c.durations[i], c.cost));
        const AnalysisResult r = BuildAnalysis("Dieser Monat", "[Alle]");
        EXPECT_EQ(r.totalDuration, c.total);
        EXPECT_EQ(r.sentences[1], "Die durchschnittliche Verbindungsdauer liegt bei " + c.perConnection + " Minuten.");
        if (c.totalCost.isNull()) continue;
        EXPECT_EQ(r.totalCost, c.totalCost);
        EXPECT_EQ(r.sentences[3], "Die durchschnittlichen Verbindungskosten liegen bei "
                                  "170141200000000000000000000000000000000,00 €.");
    }
}

TEST_F(AnalysisTest, ClassesByRoundedMinutesAndKilobytesPerDay)
{
    // April: 30 days; two connections each
    clock.set(QDateTime(QDate(2004, 4, 20), QTime(12, 0)));
    struct Case {
        QString minutesEach; // the duration of each of the two records
        QString bytesEach;
        QString sentence;
    } cases[] = {
        {"5:00:00", "0", "Das entspricht einem Wenignutzer mit sehr geringem Datenaufkommen."},             // M 20
        {"5:07:30", "0", "Das entspricht einem Gelegenheitsnutzer mit sehr geringem Datenaufkommen."},      // M 20,5
        {"12:30:00", "15000000", "Das entspricht einem Gelegenheitsnutzer mit sehr geringem Datenaufkommen."}, // M 50, V 1000
        {"12:45:00", "15015000", "Das entspricht einem Normalnutzer mit geringem Datenaufkommen."},         // M 51, V 1001
        {"25:30:00", "60015000", "Das entspricht einem Vielnutzer mit normalen Datenaufkommen."},           // M 102, V 4001
        {"50:30:00", "300015000", "Das entspricht einem Powernutzer mit großem Datenaufkommen."},           // M 202, V 20001
        {"0:01:00", "750000000", "Das entspricht einem Wenignutzer mit großem Datenaufkommen."},            // V 50000
        {"0:01:00", "750015000", "Das entspricht einem Wenignutzer mit sehr großem Datenaufkommen."},       // V 50001
        {"0:01:00", "1500000000", "Das entspricht einem Wenignutzer mit sehr großem Datenaufkommen."},       // V 100000
        {"0:01:00", "1500015000", "Das entspricht einem Wenignutzer mit imensen Datenaufkommen."},           // V 100001
    };
    for (const Case& c : cases) {
        QDir(path("Verbindungen")).removeRecursively();
        record(rec("01042004-100000.con", "10:00:00", c.minutesEach, "1,00", c.bytesEach));
        record(rec("02042004-100000.con", "10:00:00", c.minutesEach, "1,00", c.bytesEach));
        EXPECT_EQ(BuildAnalysis("Dieser Monat", "[Alle]").sentences[10], c.sentence) << c.minutesEach.toStdString();
    }
}

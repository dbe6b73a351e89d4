#include "users/BudgetFiles.h"

#include "support/TestSupport.h"

TEST(BudgetAmount, OneSeparatorOfEitherKind)
{
    for (auto [text, value] : {std::pair{" 0", 0.0}, {"25", 25.0}, {"12,5", 12.5}, {"12.5", 12.5}, {" 7 ", 7.0},
                               {"-3", -3.0}, {"9999", 9999.0}}) {
        double v = -1;
        EXPECT_TRUE(ReadBudgetAmount(text, &v)) << text;
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    double v = 0;
    for (const char* bad : {"1.234,5", "", "abc", "12 5", ","}) EXPECT_FALSE(ReadBudgetAmount(bad, &v)) << bad;
}

class BudgetFilesTest : public ProgramTest {};

TEST_F(BudgetFilesTest, RecordRoundTripAndDates)
{
    BudgetRecord r = BudgetRecord::newUserDefaults();
    ASSERT_TRUE(WriteBudgetRecord(UserBudgetPath("Anna"), r));
    EXPECT_EQ(readFile("Benutzer/Anna.bdg"), QByteArray(" 0\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n"));
    EXPECT_EQ(syncedFolders, QStringList({"Benutzer"}));
    BudgetRecord back;
    ASSERT_EQ(ReadBudgetRecord(UserBudgetPath("anna"), back), StoredFile::Ok);
    EXPECT_EQ(back.startDate(), QDate(2001, 1, 1));
    EXPECT_EQ(back.endDate(), QDate(2001, 1, 31));
    EXPECT_EQ(back.dayAmount(), 0);

    writeFile("Benutzer/Budget.dat", "5\r\n120\r\n40,5\r\n01.02.2002\r\n28.02.2002\r\n");
    ASSERT_EQ(ReadBudgetRecord(CommonBudgetPath(), back), StoredFile::Ok);
    EXPECT_EQ(back.dayAmount(), 5);
    EXPECT_EQ(back.monthAmount(), 120);
    EXPECT_EQ(back.periodAmount(), 40.5);
    EXPECT_EQ(back.startDate(), QDate(2002, 2, 1));
    EXPECT_EQ(back.endDate(), QDate(2002, 2, 28));
    EXPECT_EQ(back.start, "01.02.2002");

    writeFile("Benutzer/Kurz.bdg", " 0\r\n 0\r\n 0\r\n1.1.2001\r\n");
    EXPECT_EQ(ReadBudgetRecord(UserBudgetPath("Kurz"), back), StoredFile::Damaged);
    writeFile("Benutzer/Text.bdg", "viel\r\n 0\r\n 0\r\n1.1.2001\r\n31.1.2001\r\n");
    EXPECT_EQ(ReadBudgetRecord(UserBudgetPath("Text"), back), StoredFile::Damaged);
    EXPECT_EQ(ReadBudgetRecord(UserBudgetPath("Fehlt"), back), StoredFile::Missing);
    EXPECT_EQ(BudgetRecord::createdDefaults().end, "31.1.2002");

    // a date the code page cannot hold is refused, the file stays as it was
    const QByteArray before = readFile("Benutzer/Anna.bdg");
    r.end = QStringLiteral("31.1.2001☃");
    EXPECT_FALSE(WriteBudgetRecord(UserBudgetPath("Anna"), r));
    EXPECT_EQ(readFile("Benutzer/Anna.bdg"), before);
}

TEST_F(BudgetFilesTest, Options)
{
    bool exists = true;
    BudgetOptions o = ReadBudgetOptions(&exists);
    EXPECT_FALSE(exists);
    EXPECT_FALSE(o.sameForAll || o.acousticWarning || o.visualWarning);
    o.sameForAll = true;
    o.visualWarning = true;
    o.sound = "Alarm";
    ASSERT_TRUE(WriteBudgetOptions(o));
    EXPECT_EQ(readFile("Benutzer/Benutzer.dat"), QByteArray(" 1\r\n 0\r\n 1\r\nAlarm\r\n"));
    EXPECT_TRUE(syncedFolders.isEmpty()); // options, not amounts
    const BudgetOptions back = ReadBudgetOptions(&exists);
    EXPECT_TRUE(exists);
    EXPECT_TRUE(back.sameForAll && !back.acousticWarning && back.visualWarning);
    EXPECT_EQ(back.sound, "Alarm");

    writeFile("Benutzer/Benutzer.dat", "2\r\n1\r\n");
    o = ReadBudgetOptions();
    EXPECT_FALSE(o.sameForAll); // only 1 is set
    EXPECT_TRUE(o.acousticWarning);
    EXPECT_EQ(o.sound, "");
}

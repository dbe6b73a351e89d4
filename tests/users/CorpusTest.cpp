// Every hostile user record and budget file of the corpus through their readers, under the sanitizers.
#include "users/BudgetFiles.h"
#include "users/UserRecord.h"

#include "support/TestSupport.h"

namespace {
class UserCorpusTest : public ProgramTest {};
} // namespace

TEST_F(UserCorpusTest, UserRecords)
{
    QList<CorpusFile> files = CorpusFiles("users");
    files.push_back({"oversize-one-line", QByteArray(70 * 1024, 'x')});
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Benutzer/Anna.usr", f.bytes);
        UserRecord r;
        const StoredFile found = ReadUserRecord("Anna", r);
        EXPECT_NE(found, StoredFile::Missing);
        EXPECT_EQ(GetUserNames(), QStringList{"Anna"});
        if (f.name == "well-formed") {
            EXPECT_EQ(found, StoredFile::Ok);
            EXPECT_EQ(r.password, "geheim");
            EXPECT_EQ(r.dayLimitOn, 1);
        }
        // a flag is a check box state 0, 1 or 2; what Val reads as none of them is damage
        if (f.name == "invalid-cipher" || f.name == "flag-negative" || f.name == "flag-nines") {
            EXPECT_EQ(found, StoredFile::Damaged);
        }
        if (f.name == "flag-two") {
            EXPECT_EQ(found, StoredFile::Ok);
            EXPECT_EQ(r.noUserSettings, 2);
        }
    }
}

TEST_F(UserCorpusTest, UserRecordsReadBackAsSaved)
{
    for (const CorpusFile& f : CorpusFiles("users")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Benutzer/Anna.usr", f.bytes);
        UserRecord read;
        if (ReadUserRecord("Anna", read) != StoredFile::Ok) continue;
        ASSERT_TRUE(SaveUser("Anna", read));
        UserRecord again;
        ASSERT_EQ(ReadUserRecord("Anna", again), StoredFile::Ok);
        EXPECT_EQ(again.plainLines(), read.plainLines());
        // the minutes in force: whole, and held to 32 bits
        if (f.name == "minutes-nines") {
            EXPECT_EQ(read.dayLimitMinutes, "2147483647");
        }
        if (f.name == "value-grouped") {
            EXPECT_EQ(read.monthLimitMinutes, "1");
        }
    }
}

TEST_F(UserCorpusTest, BudgetFiles)
{
    QList<CorpusFile> files = CorpusFiles("budgets");
    files.push_back({"oversize-one-line", QByteArray(70 * 1024, '9')});
    for (const CorpusFile& f : files) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Benutzer/Anna.bdg", f.bytes);
        writeFile("Benutzer/Benutzer.dat", f.bytes);
        BudgetRecord r;
        const StoredFile found = ReadBudgetRecord(UserBudgetPath("Anna"), r);
        EXPECT_NE(found, StoredFile::Missing);
        r.dayAmount();
        r.monthAmount();
        r.periodAmount();
        r.startDate();
        r.endDate();
        bool exists = false;
        ReadBudgetOptions(&exists);
        EXPECT_TRUE(exists);
        if (f.name == "well-formed") {
            EXPECT_EQ(found, StoredFile::Ok);
            EXPECT_EQ(r.periodAmount(), 100.5);
            EXPECT_EQ(r.endDate(), QDate(2002, 1, 31));
        }
        if (f.name == "empty" || f.name == "four-lines" || f.name.startsWith("amount-")) {
            EXPECT_EQ(found, f.name == "amount-negative" ? StoredFile::Ok : StoredFile::Damaged);
        }
        if (f.name == "options-well-formed") {
            const BudgetOptions o = ReadBudgetOptions();
            EXPECT_TRUE(o.sameForAll && o.visualWarning && !o.acousticWarning);
            EXPECT_EQ(o.sound, "Alarm");
        }
    }
}

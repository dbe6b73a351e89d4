// Every hostile user record, budget and settings file of the corpus through their readers, under the
// sanitizers.
#include "users/BudgetFiles.h"
#include "users/BudgetPageValues.h"
#include "users/DialUpFiles.h"
#include "users/MonitoringFiles.h"
#include "users/ProgramOptions.h"
#include "users/UserRecord.h"
#include "users/ui/DialUp.h"
#include "users/ui/Options.h"

#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QListWidget>

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
    writeCipher("Verbindungen/17012001-100000.con",
                {"S17.01.2001", "10:00:00", "00:10:00", "S1,00", "1", "0", "0", "0", "Netz", "Netz - Tag.tel", "Anna"});
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
            const bool number = f.name == "amount-negative" || f.name == "amount-beyond-single";
            EXPECT_EQ(found, number ? StoredFile::Ok : StoredFile::Damaged);
        }
        // the remaining budgets of the budget page, against a record of today
        const BudgetPageValues::RemainingBudgets remaining = BudgetPageValues::ShowRemainingBudgets("Anna");
        for (const BudgetPageValues::Remaining* shown : {&remaining.day, &remaining.month, &remaining.period}) {
            EXPECT_GE(shown->bar, 0);
            EXPECT_LE(shown->bar, 100);
        }
        if (f.name == "amount-beyond-single") {
            EXPECT_EQ(remaining.day.bar, 100);
            EXPECT_EQ(remaining.period.bar, 100);
        }
        if (f.name == "options-well-formed") {
            const BudgetOptions o = ReadBudgetOptions();
            EXPECT_TRUE(o.sameForAll && o.visualWarning && !o.acousticWarning);
            EXPECT_EQ(o.sound, "Alarm");
        }
    }
}

TEST_F(UserCorpusTest, SettingsFiles)
{
    SimPlatform sim;
    sim.phoneBook.addEntry("Arcor");
    sim.phoneBook.addEntry("T-Online");
    const QStringList targets{"Config/Options.cfg", "Config/ConCheck.cfg", "Config/IgnoredIPs.cfg",
                              "DialUp/DialUp.cfg",  "DialUp/Arcor.dat",    "DialUp/Arcor.trf",
                              "DialUp/Deny.sec",    "DialUp/General.prg",  "DialUp/Arcor.prg"};
    const auto pairs = [](const QString& path) {
        QStringList out;
        for (const ListPair& p : ReadListPairs(path))
            out << p.text + (p.ticked ? "+" : "-");
        return out;
    };
    for (const CorpusFile& f : CorpusFiles("settings")) {
        SCOPED_TRACE(f.name.toStdString());
        for (const QString& target : targets)
            writeFile(target, f.bytes);
        const StoredOptions options = ReadProgramOptions();
        const std::optional<ConCheckValues> conCheck = ReadConCheckValues();
        const std::optional<QString> ignored = ReadIgnoredIPsLine();
        const std::optional<bool> systemData = ReadDialUpConfig();
        EntryCredentials credentials;
        EXPECT_TRUE(ReadEntryCredentials("Arcor", &credentials));
        QString provider, item;
        EXPECT_TRUE(ReadEntryTarif("Arcor", &provider, &item));
        const QStringList allowed = pairs(AllowListPath());
        const QStringList common = pairs(ProgramListPath(QString()));
        ASSERT_TRUE(conCheck && ignored);
        EXPECT_GE(conCheck->intervalIndex, -1);
        EXPECT_LE(conCheck->intervalIndex, 9);
        // the pages that show them: opening stores nothing of a stored file
        {
            Options page;
            page.Form_Load();
            EXPECT_EQ(page.List1->count(), common.size());
            EXPECT_GE(page.Combo1[0]->currentIndex(), 0);
        }
        {
            DialUp page;
            page.Form_Load();
        }
        EXPECT_EQ(readFile("Config/Options.cfg"), f.bytes);
        EXPECT_EQ(readFile("DialUp/Deny.sec"), f.bytes);

        if (f.name == "options-well-formed") {
            const std::array<std::optional<int>, PROGRAM_OPTION_LINES> want{1, 1, 0, 1, 0, 1};
            EXPECT_EQ(options.lines, want);
        }
        if (f.name == "options-currency-twelve") {
            const std::array<std::optional<int>, PROGRAM_OPTION_LINES> want{12, 2, -1, 0, {}, 1}; // "0,5" reads as 0
            EXPECT_EQ(options.lines, want);
        }
        if (f.name == "concheck-well-formed") {
            EXPECT_EQ(conCheck->ip + conCheck->wininet + conCheck->lan + conCheck->tapi, 2);
            EXPECT_EQ(conCheck->intervalIndex, 4);
        }
        if (f.name == "concheck-interval-huge") {
            EXPECT_EQ(conCheck->ip, INT32_MAX);
            EXPECT_EQ(conCheck->wininet, INT32_MIN);
            EXPECT_EQ(conCheck->intervalIndex, -1);
        }
        if (f.name == "ignoredips-well-formed") {
            EXPECT_EQ(*ignored, "192.168.*.*, 10.*.*.*");
        }
        if (f.name == "dialupcfg-well-formed" || f.name == "dialupcfg-odd") {
            EXPECT_EQ(systemData, f.name.endsWith("odd") ? std::optional<bool>() : std::optional<bool>(false));
        }
        if (f.name == "entrydat-well-formed") {
            EXPECT_EQ(credentials.number + "|" + credentials.user + "|" + credentials.password, "0191011|anna|geheim");
        }
        if (f.name == "entrytrf-well-formed") {
            EXPECT_EQ(provider + "|" + item, "Netz|M - Tag");
        }
        if (f.name == "deny-twice" || f.name == "deny-unpaired") {
            EXPECT_EQ(allowed,
                      f.name.endsWith("twice") ? QStringList({"Arcor+", "Arcor-"}) : QStringList({"Arcor+", "Lone-"}));
        }
        if (f.name == "programs-flags-odd") {
            EXPECT_EQ(common, QStringList({"/bin/a-", "/bin/b+", "/bin/c+", "/bin/d-"}));
        }
    }
}

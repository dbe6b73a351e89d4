#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/platform/linux/LinuxProgramStarter.h"
#include "core/platform/linux/LinuxSessionAutostart.h"
#include "core/ui/LostFocus.h"
#include "users/ProgramOptions.h"
#include "users/ui/Options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QThread>

#include <memory>

namespace {
class OptionsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        sim.phoneBook.addEntry("Arcor");
        sim.phoneBook.addEntry("T-Online");
    }
    std::unique_ptr<Options> open()
    {
        auto page = std::make_unique<Options>();
        page->Form_Load();
        return page;
    }
    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? "+" : "-");
        return out;
    }
    SimPlatform sim;
};
} // namespace

TEST_F(OptionsTest, OpeningKeepsTheStoredFileAndAppliesIt)
{
    // mixed number forms, and a stored 1 in line 2 whose program-list loader clears the loading flag
    const QByteArray stored = "1\r\n1\r\n 1\r\n 0\r\n1\r\n 1\r\n";
    writeFile("Config/Options.cfg", stored);
    writeFile("DialUp/General.prg", "/usr/bin/xterm\r\n 1\r\n/bin/true\r\n 0\r\n");
    writeFile("DialUp/Deny.sec", "Arcor\r\n 1\r\nT-Online\r\n");

    const auto page = open();
    EXPECT_EQ(readFile("Config/Options.cfg"), stored);
    EXPECT_FALSE(exists("DialUp/Arcor.prg"));
    EXPECT_EQ(readFile("DialUp/Deny.sec"), "Arcor\r\n 1\r\nT-Online\r\n");
    EXPECT_EQ(page->Label2->text(), "0,00 sFr");
    EXPECT_TRUE(G_SameProgramsForAll && G_TrayWhenMinimized && G_DialerProtection);
    EXPECT_FALSE(page->Combo1[1]->isEnabled());
    EXPECT_EQ(page->Combo1[1]->currentText(), "Arcor");
    EXPECT_EQ(items(page->List1), QStringList({"/usr/bin/xterm+", "/bin/true-"}));
    // the unpaired last line is an unticked entry
    EXPECT_EQ(items(page->List2), QStringList({"Arcor+", "T-Online-"}));
    EXPECT_TRUE(page->List2->isEnabled());
    // line 5 writes the autostart entry again
    EXPECT_EQ(sim.autostart.enables, 1);
    EXPECT_EQ(sim.autostart.program, QCoreApplication::applicationFilePath());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(OptionsTest, CurrencyAndSwitchesAreSavedAtOnce)
{
    const auto page = open();
    EXPECT_FALSE(exists("Config/Options.cfg"));
    EXPECT_EQ(page->Label2->text(), "0,00 €");
    page->Combo1[0]->setCurrentIndex(1);
    EXPECT_EQ(page->Combo1[0]->currentText(), "Schweizer Franken");
    EXPECT_EQ(page->Label2->text(), "0,00 sFr");
    EXPECT_EQ(G_Currency, "sFr");
    EXPECT_EQ(readFile("Config/Options.cfg"), " 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n 0\r\n");
    page->Check2[1]->setChecked(true);
    EXPECT_FALSE(G_StartMinimized);
    page->Check2[3]->setChecked(true);
    EXPECT_TRUE(G_DialerProtection);
    EXPECT_EQ(readFile("Config/Options.cfg"), " 1\r\n 0\r\n 0\r\n 1\r\n 0\r\n 1\r\n");
    EXPECT_EQ(sim.autostart.enables + sim.autostart.disables, 0);
}

TEST_F(OptionsTest, AutostartEntryFollowsTheBox)
{
    const QString folder = path("home/.config/autostart");
    LinuxSessionAutostart autostart(folder);
    SetSessionAutostart(&autostart);
    const QString entry = folder + "/zumbrel.desktop";
    const auto page = open();

    page->Check2[2]->setChecked(true);
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), LinuxSessionAutostart::DesktopEntry(QCoreApplication::applicationFilePath()));
    f.close();
    // A data folder chosen for this run is the next login's too.
    qputenv("ZUMBREL_FOLDER", "elsewhere");
    page->Check2[2]->setChecked(false);
    page->Check2[2]->setChecked(true);
    qunsetenv("ZUMBREL_FOLDER");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              LinuxSessionAutostart::DesktopEntry(QCoreApplication::applicationFilePath(), ProgramFolder()));
    f.close();
    EXPECT_EQ(readFile("Config/Options.cfg"), " 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 0\r\n");
    page->Check2[2]->setChecked(false);
    EXPECT_FALSE(QFile::exists(entry));
    // already gone counts as removed
    page->Check2[2]->setChecked(true);
    ASSERT_TRUE(QFile::remove(entry));
    page->Check2[2]->setChecked(false);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // a file where the folder should be: the message, and the box and file keep the new state
    ASSERT_TRUE(QDir(folder).removeRecursively());
    writeFile("home/.config/autostart", "x");
    page->Check2[2]->setChecked(true);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              "Konnte den Autostart nicht einrichten. Bitte erstellen Sie manuell einen Link im Autostart Menü des "
              "Startmenüs.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_EQ(readFile("Config/Options.cfg"), " 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 0\r\n");
    SetSessionAutostart(&sim.autostart);
}

TEST_F(OptionsTest, TickingAnEntryWritesTheAllowList)
{
    const QByteArray stored = "Arcor\r\n 1\r\nAlt\r\n 1\r\n";
    writeFile("DialUp/Deny.sec", stored);
    const auto page = open();
    page->Check2[3]->setChecked(true);
    EXPECT_EQ(readFile("DialUp/Deny.sec"), stored); // the switch is no tick

    page->List2->item(1)->setCheckState(Qt::Checked);
    // one pair per listed entry: the entry the phone book no longer has is dropped
    EXPECT_EQ(readFile("DialUp/Deny.sec"), "Arcor\r\n 1\r\nT-Online\r\n 1\r\n");
    page->List2->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(readFile("DialUp/Deny.sec"), "Arcor\r\n 0\r\nT-Online\r\n 1\r\n");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(OptionsTest, Check1SwitchesBetweenTheCommonAndTheEntrysProgramList)
{
    writeFile("DialUp/General.prg", "/bin/alle\r\n 1\r\n");
    writeFile("DialUp/Arcor.prg", "/bin/arcor\r\n 0\r\n");
    const auto page = open();
    EXPECT_EQ(page->Combo1[1]->currentText(), "Arcor");
    EXPECT_EQ(items(page->List1), QStringList{"/bin/arcor-"});

    page->Check1->setChecked(true);
    EXPECT_TRUE(G_SameProgramsForAll);
    EXPECT_FALSE(page->Combo1[1]->isEnabled());
    EXPECT_EQ(items(page->List1), QStringList{"/bin/alle+"});
    page->List1->item(0)->setCheckState(Qt::Unchecked); // saved into the list shown
    EXPECT_EQ(readFile("DialUp/General.prg"), "/bin/alle\r\n 0\r\n");
    EXPECT_EQ(readFile("DialUp/Arcor.prg"), "/bin/arcor\r\n 0\r\n");

    page->Check1->setChecked(false);
    EXPECT_FALSE(G_SameProgramsForAll);
    EXPECT_TRUE(page->Combo1[1]->isEnabled());
    EXPECT_EQ(items(page->List1), QStringList{"/bin/arcor-"});
    page->List1->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(readFile("DialUp/Arcor.prg"), "/bin/arcor\r\n 1\r\n");
    EXPECT_EQ(readFile("DialUp/General.prg"), "/bin/alle\r\n 0\r\n");

    page->Combo1[1]->setCurrentIndex(1); // an entry without a list: none shown, none written
    EXPECT_TRUE(items(page->List1).isEmpty());
    EXPECT_FALSE(exists("DialUp/T-Online.prg"));
}

TEST_F(OptionsTest, ChosenProgramIsSavedAndStartedWhole)
{
    const QString tools = path("my tools");
    ASSERT_TRUE(QDir().mkpath(tools));
    const QString script = tools + "/mark it.sh";
    const QString marker = path("started");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho ok > '" + marker.toUtf8() + "'\n");
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    const auto page = open();
    dialogs.answerFiles({script});
    page->Command1_Click();
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    const OpenFileRequest& r = dialogs.fileRequests[0];
    EXPECT_EQ(r.title, "Programm suchen...");
    EXPECT_EQ(r.initialFolder, QDir::homePath());
    ASSERT_EQ(r.filters.size(), 3);
    EXPECT_EQ(r.filters[2].description, "Alle Dateien");
    EXPECT_EQ(r.filters[2].pattern, "*");
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(readFile("DialUp/Arcor.prg"), (script + "\r\n 1\r\n").toUtf8());

    // several files: each its own ticked item
    dialogs.answerFiles({tools + "/a", tools + "/b"});
    page->Command1_Click();
    EXPECT_EQ(items(page->List1), QStringList({script + "+", tools + "/a+", tools + "/b+"}));
    page->List1->clearSelection();
    page->List1->setCurrentRow(0, QItemSelectionModel::NoUpdate); // focus only: nothing chosen
    page->Command2_Click();
    EXPECT_EQ(page->List1->count(), 3);
    page->List1->setCurrentRow(0);
    page->Command2_Click();
    EXPECT_EQ(readFile("DialUp/Arcor.prg"), (tools + "/a\r\n 1\r\n" + tools + "/b\r\n 1\r\n").toUtf8());
    page->Command2_Click(); // the removed one was the choice: the next is not taken too
    EXPECT_EQ(page->List1->count(), 2);

    // a name the code page cannot hold: nothing written, the stored list shown again
    dialogs.answerFiles({tools + "/ő"});
    page->Command1_Click();
    EXPECT_EQ(dialogs.texts(), QStringList({UNSTORABLE_INPUT_MESSAGE}));
    EXPECT_EQ(items(page->List1), QStringList({tools + "/a+", tools + "/b+"}));

    ASSERT_TRUE(LinuxProgramStarter().start(script));
    QDeadlineTimer deadline(20000);
    while (!QFile::exists(marker) && !deadline.hasExpired()) QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker));
}

TEST_F(OptionsTest, ListPairsReadUnpairedLastLineUnticked)
{
    const struct {
        QByteArray file;
        QList<std::pair<QString, bool>> pairs;
    } cases[] = {
        {"", {}},
        {"A\r\n", {{"A", false}}},
        {"A\r\n 1\r\nB\r\n", {{"A", true}, {"B", false}}},
        {"A\r\n1\r\nB\r\n 2\r\n", {{"A", true}, {"B", false}}},
    };
    for (const auto& c : cases) {
        writeFile("DialUp/deny.SEC", c.file);
        QList<std::pair<QString, bool>> got;
        for (const ListPair& p : ReadListPairs(AllowListPath())) got.append({p.text, p.ticked});
        EXPECT_EQ(got, c.pairs) << c.file.constData();
    }
}

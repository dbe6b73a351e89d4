// Every hostile connection record of the corpus through the walks of the remaining budgets and the
// free allowance, and every hostile settings file through the readers of the main window, the overview
// page, the counter page and the floating window, under the sanitizers.
#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "recording/CounterEngine.h"
#include "recording/CounterEvents.h"
#include "recording/CounterSettings.h"
#include "recording/DetectionLoop.h"
#include "recording/MainWindowFiles.h"
#include "recording/OverviewFiles.h"
#include "recording/OverviewValues.h"
#include "recording/Prelaunch.h"
#include "recording/RecordingBudgets.h"
#include "recording/SmallWindowPlacement.h"
#include "recording/TariffKeys.h"
#include "recording/UserRights.h"
#include "tariffs/TarifFile.h"
#include "users/BudgetSpending.h"

#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include <cmath>
#include <memory>

namespace {
class RecordingCorpusTest : public ProgramTest {};

// A file of lines that all end in CR LF: what the text files are written as.
bool crlfLines(const QByteArray& bytes)
{
    return bytes.endsWith("\r\n") && bytes.count('\n') == bytes.count("\r\n");
}
} // namespace

TEST_F(RecordingCorpusTest, RecordWalks)
{
    writeFile("Tarife/Netz - A.tel", "[Providerdaten]\r\nFreiminuten:600\r\n");
    writeFile("Tarife/Netz - V.tel", "[Providerdaten]\r\nVolumenabrechnung:Ja\r\nVolumengrenze:5\r\n");
    for (const CorpusFile& f : CorpusFiles("records")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Verbindungen/17012001-120000.con", f.bytes);
        const BudgetSpending spent = GetBudgetSpending("Anna", true, QDate(2001, 1, 1), QDate(2001, 1, 31));
        EXPECT_LE(spent.period.size(), size_t(1));
        GetConnectionCost("17012001-120000.con");
        FreeAllowanceLeft("Netz - A.tel");
        FreeAllowanceLeft("Netz - V.tel");
        if (f.name == "well-formed") {
            ASSERT_EQ(spent.day.size(), size_t(1));
            EXPECT_DOUBLE_EQ(spent.day[0], 0.19);
            EXPECT_EQ(FreeAllowanceLeft("Netz - A.tel"), "09:50:00");
        }
    }
}

TEST_F(RecordingCorpusTest, SettingsFiles)
{
    SimPlatform sim;
    const int oldBound = SetHangUpWaitBound(100);
    TarifFile tariff = TarifFile::New("Netz", "Tag");
    tariff.zones = {{0, 24, 1.9f, false}, {0, 24, 1.9f, true}};
    ASSERT_TRUE(WriteTarifFile(tariff));
    writeCipher("Benutzer/Supervisor.usr", {"0", "0", "0", "0", "0", "0", "0", "60", "", "0", "600"});
    const QStringList targets{"Config/Options.cfg",    "Config/Overview.cfg",    "Note.dat",
                              "Config/ConCheck.cfg",   "Config/IgnoredIPs.cfg",  "Config/Users.cfg",
                              "Config/Monitoring.cfg", "Config/Autoupdate.cfg",  "Config/Update.cfg",
                              "Config/Timesync.cfg",   "Config/Smallwindow.cfg", "Config/Smallwindowpos.cfg",
                              "DialUp/Deny.sec",       "DialUp/Arcor.trf",       "DialUp/General.prg",
                              "DialUp/Arcor.prg",      "Prerun/Netz - Tag.dat"};
    CounterEvents events;
    for (const CorpusFile& f : CorpusFiles("settings")) {
        SCOPED_TRACE(f.name.toStdString());
        for (const QString& target : targets)
            writeFile(target, f.bytes);
        ResetGlobals();
        G_ActiveUser = "Supervisor";
        G_Tariff = tariff.fileName();
        if (sim.phoneBook.connections().isEmpty()) sim.phoneBook.addConnection(7, "Arcor", "ppp0");
        sim.programs.started.clear();

        LoadOptions();
        const OverviewChoices choices = ReadOverviewChoices();
        ChooseStartUser(QString());
        ReadConCheckConfig();
        EXPECT_GE(G_CheckIntervalSec, 1);
        EXPECT_LE(G_CheckIntervalSec, 10);
        const quint8 logonLink = GetLogonLink();
        LoadMonitoringConfig();
        const bool denied = IsDeniedConnection();
        LoadAutoupdateConfig();
        LoadSwitchFile("Timesync.cfg");
        LoadSwitchFile("Smallwindow.cfg");
        const float carry = LoadVolumeCarry(tariff.fileName());
        SmallWindowPlace place;
        LoadSmallWindowPlace(place, 15360, 11520);
        EXPECT_TRUE(std::isfinite(place.left) && std::isfinite(place.top));
        EXPECT_GE(place.left, -4 * 15360.0);
        EXPECT_LE(place.left, 15360.0 + 1000);
        EXPECT_GE(place.opacity, 0);
        EXPECT_LE(place.opacity, 255);
        OverviewValues::ShowCheapestEntry({"Arcor"});
        {
            // a recording that started by itself over a dial of the program's own: the entry's tariff and
            // programs
            G_DetectSource = 1;
            G_DialedHere = true;
            CounterEngine engine(events);
            engine.Form_Load();
        }
        // the note is written back as it was read
        const QString note = LoadNoteText();
        ASSERT_EQ(SaveNoteText(note), NoteSaved::Saved);
        if (crlfLines(f.bytes)) {
            EXPECT_EQ(readFile("Note.dat"), f.bytes);
        }
        EXPECT_EQ(LoadNoteText(), note);

        if (f.name == "options-well-formed") {
            EXPECT_TRUE(G_SameProgramsForAll && !G_TrayWhenMinimized && G_StartMinimized && G_DialerProtection);
            EXPECT_EQ(G_Currency, "sFr");
        }
        if (f.name == "overview-well-formed") {
            EXPECT_EQ(choices.entry + "|" + choices.user + "|" + choices.provider + "|" + choices.tariff,
                      "Arcor|Anna|Netz|M - Tag");
        }
        if (f.name == "concheck-well-formed") {
            EXPECT_TRUE(G_WatchIP && G_WatchWininet && !G_WatchLan && !G_WatchTapi);
            EXPECT_EQ(G_CheckIntervalSec, 5);
        }
        if (f.name == "userscfg-well-formed" || f.name == "userscfg-byte-overflow") {
            EXPECT_EQ(logonLink, f.name.endsWith("formed") ? 1 : 0);
        }
        if (f.name == "monitoring-well-formed") {
            EXPECT_FALSE(G_MonitoringOn);
        }
        if (f.name == "deny-well-formed" || f.name == "deny-twice") {
            EXPECT_FALSE(denied); // with the dialer protection of line 6 of the same file
        }
        if (f.name == "prerun-well-formed") {
            EXPECT_EQ(carry, 512);
        }
        if (f.name == "smallwindowpos-well-formed") {
            EXPECT_EQ(place.left, 1500);
            EXPECT_EQ(place.top, 900);
            EXPECT_EQ(place.opacity, 180);
        }
        if (f.name == "entrytrf-well-formed") {
            EXPECT_EQ(G_Tariff, tariff.fileName());
        }
        if (f.name == "programs-well-formed") {
            EXPECT_EQ(sim.programs.started, QStringList{"/bin/true"});
        }
    }
    SetHangUpWaitBound(oldBound);
}

TEST_F(RecordingCorpusTest, BudgetFiles)
{
    writeCipher("Verbindungen/17012001-100000.con",
                {"S17.01.2001", "10:00:00", "00:10:00", "S1,00", "1", "0", "0", "0", "Netz", "Netz - Tag.tel", "Anna"});
    CounterEvents events;
    for (const CorpusFile& f : CorpusFiles("budgets")) {
        SCOPED_TRACE(f.name.toStdString());
        writeFile("Benutzer/Anna.bdg", f.bytes);
        writeFile("Benutzer/Benutzer.dat", f.bytes);
        G_ActiveUser = "Anna";
        // the overview page's lines
        const OverviewValues::RemainingBudgets shown = OverviewValues::ShowRemainingBudgets("Anna");
        OverviewValues::IsBudgetExceeded(shown);
        for (const OverviewValues::BudgetLine* line : {&shown.day, &shown.month, &shown.period}) {
            EXPECT_FALSE(std::isnan(line->bar));
            EXPECT_GE(line->bar, 0);
        }
        // the running counter's, charged once more
        RecordingBudgets counter(events);
        counter.GetBudget();
        counter.ShowRestBudget(1e39);
        if (f.name == "amount-beyond-single") {
            EXPECT_EQ(shown.day.bar, 100);
            EXPECT_EQ(shown.period.bar, 100);
            EXPECT_TRUE(OverviewValues::IsBudgetExceeded(shown)); // the month's amount is below zero
        }
    }
}

#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/ui/Status.h"
#include "core/ui/TrayMenu.h"
#include "core/ui/WindowUtils.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {
class FakeCommands : public TrayCommands {
public:
    bool counterPageOpen() const override { return pageOpen; }
    bool stopButtonEnabled() const override { return stopEnabled; }
    void stopRecording() override { calls << "stop"; }
    void startConnection() override { calls << QString("start %1").arg(G_DetectSource); }
    void closeMainWindow() override { calls << "close"; }
    void storeMonitoring(bool on) override { calls << QString("monitoring %1").arg(on); }
    bool isBudgetExceeded() override
    {
        calls << "budget";
        return exceeded;
    }

    bool pageOpen = false;
    bool stopEnabled = true;
    bool exceeded = false;
    QStringList calls;
};

class TrayMenuTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        oldBound = SetHangUpWaitBound(0);
        oldStart = SetDialStartWait(0);
    }
    void TearDown() override
    {
        UnloadDialProgressWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetHangUpWaitBound(oldBound);
        SetDialStartWait(oldStart);
        ProgramTest::TearDown();
    }
    // Each item as "<id> <text>" with [x] for a check mark and (grey) for a disabled item.
    QStringList items(QStringList* names = nullptr)
    {
        QMenu menu;
        const QStringList shown = BuildTrayMenu(menu, commands);
        if (names) *names = shown;
        QStringList out;
        for (QAction* a : menu.actions()) {
            QString line = QString::number(a->data().toInt()) + " " + (a->isSeparator() ? "-" : a->text());
            if (a->isChecked()) line += " [x]";
            if (!a->isEnabled()) line += " (grey)";
            out << line;
        }
        return out;
    }

    SimPlatform platform;
    FakeCommands commands;
    int oldBound = 0;
    int oldStart = 0;
};
} // namespace

TEST_F(TrayMenuTest, ItemsFollowTheState)
{
    struct Row {
        bool noAccess, monitoring, pageOpen;
        QStringList entries;
        QStringList expected;
    };
    const Row rows[] = {
        {false, false, false, {}, {"406 &Beenden", "407 -", "408 Überwachung", "405 Aufzeichnung &starten"}},
        {false, true, false, {"ISP"},
         {"406 &Beenden", "407 -", "408 Über&wachung [x]", "405 Aufzeichnung &starten", "409 -",
          "512 \"ISP\" wählen"}},
        {true, true, false, {"A", "AT&T"},
         {"406 &Beenden", "407 -", "408 Über&wachung (grey)", "405 Aufzeichnung &starten", "409 -",
          "512 \"A\" wählen", "513 \"AT&&T\" wählen"}},
        // A recording offers no entries, whatever the phone book holds.
        {false, false, true, {"ISP"},
         {"406 &Beenden", "407 -", "408 Überwachung", "405 Aufzeichnung &stoppen", "409 -",
          "256 Verbindung trennen"}},
    };
    for (const Row& row : rows) {
        platform.phoneBook.entryList.clear();
        for (const QString& e : row.entries) platform.phoneBook.addEntry(e);
        G_NoMonitoringAccess = row.noAccess;
        G_MonitoringOn = row.monitoring;
        commands.pageOpen = row.pageOpen;
        QStringList names;
        EXPECT_EQ(items(&names), row.expected);
        EXPECT_EQ(names, row.pageOpen ? QStringList() : row.entries);
    }
}

TEST_F(TrayMenuTest, RecordQuitAndMonitoringCommands)
{
    RunTrayCommand(0, {}, commands);
    EXPECT_TRUE(commands.calls.isEmpty());

    G_DetectSource = 3;
    RunTrayCommand(TRAY_RECORD, {}, commands);
    EXPECT_EQ(commands.calls, QStringList{"start 0"});

    // While recording: the page's stop, and only while its button is enabled.
    G_Recording = true;
    commands.pageOpen = true;
    commands.stopEnabled = false;
    commands.calls.clear();
    RunTrayCommand(TRAY_RECORD, {}, commands);
    EXPECT_TRUE(commands.calls.isEmpty());
    commands.stopEnabled = true;
    RunTrayCommand(TRAY_RECORD, {}, commands);
    RunTrayCommand(TRAY_QUIT, {}, commands);
    G_MonitoringOn = false;
    RunTrayCommand(TRAY_MONITORING, {}, commands);
    EXPECT_TRUE(G_MonitoringOn);
    RunTrayCommand(TRAY_MONITORING, {}, commands);
    EXPECT_FALSE(G_MonitoringOn);
    EXPECT_EQ(commands.calls, (QStringList{"stop", "close", "monitoring 1", "monitoring 0"}));
}

TEST_F(TrayMenuTest, HangUpEndsTheLastConnection)
{
    RunTrayCommand(TRAY_HANGUP, {}, commands);
    EXPECT_TRUE(platform.phoneBook.hangUpCalls.isEmpty());
    platform.phoneBook.addConnection(0x10, "A");
    platform.phoneBook.addConnection(0x20, "B");
    RunTrayCommand(TRAY_HANGUP, {}, commands);
    EXPECT_EQ(platform.phoneBook.hangUpCalls, QList<quint32>{0x20});
    EXPECT_EQ(platform.phoneBook.connectionList.size(), 1);
}

TEST_F(TrayMenuTest, DialingAnEntry)
{
    platform.phoneBook.addEntry("ISP", {}, true);
    const QStringList shown{"ISP"};

    // Exceeded budget, no dialling over it: refused, nothing dialled.
    commands.exceeded = true;
    G_NoDialOverBudget = true;
    RunTrayCommand(TRAY_ENTRY0, shown, commands);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Das Einwählen wurde Ihnen in den Benutzereinstellungen verboten.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbInformation);
    EXPECT_TRUE(platform.phoneBook.dialCalls.isEmpty());
    EXPECT_FALSE(G_DialedHere);

    // An id past the entries shown, or an empty name, dials nothing.
    G_NoDialOverBudget = false;
    RunTrayCommand(TRAY_ENTRY0 + 1, shown, commands);
    RunTrayCommand(TRAY_ENTRY0, {""}, commands);
    EXPECT_TRUE(platform.phoneBook.dialCalls.isEmpty());

    // Over budget but allowed: dialled, progress shown.
    QMenu before;
    BuildTrayMenu(before, commands);
    RunTrayCommand(TRAY_ENTRY0, shown, commands);
    ASSERT_EQ(platform.phoneBook.dialCalls.size(), 1);
    EXPECT_EQ(platform.phoneBook.dialCalls[0].szEntryName, "ISP");
    EXPECT_TRUE(G_DialedHere);
    EXPECT_TRUE(IsFormLoaded("Status"));
    EXPECT_TRUE(StatusWindow()->isVisible());
    EXPECT_EQ(dialogs.messages.size(), 1);

    // The dial is under way until its window closes: the entry is greyed, also in a menu built before, and
    // a choice leaves the dial as it is.
    const quint32 dialled = G_hRasConn;
    EXPECT_FALSE(before.actions().last()->isEnabled());
    EXPECT_EQ(items().last(), "512 \"ISP\" wählen (grey)");
    RunTrayCommand(TRAY_ENTRY0, shown, commands);
    EXPECT_EQ(platform.phoneBook.dialCalls.size(), 1);
    EXPECT_EQ(G_hRasConn, dialled);
    EXPECT_TRUE(G_DialedHere);
    EXPECT_TRUE(StatusWindow()->isVisible());
    EXPECT_EQ(dialogs.messages.size(), 1);
    StatusWindow()->close();
    EXPECT_TRUE(before.actions().last()->isEnabled());
    EXPECT_EQ(items().last(), "512 \"ISP\" wählen");
}

TEST_F(TrayMenuTest, NothingDialledLeavesNoTrace)
{
    // The system holds no password and the prompt is cancelled: DialEntry dials nothing.
    platform.phoneBook.addEntry("ISP", {}, false);
    dialogs.answerInput("");
    RunTrayCommand(TRAY_ENTRY0, {"ISP"}, commands);
    EXPECT_EQ(dialogs.inputs.size(), 1);
    EXPECT_TRUE(platform.phoneBook.dialCalls.isEmpty());
    EXPECT_FALSE(G_DialedHere);
    EXPECT_FALSE(IsFormLoaded("Status"));
}

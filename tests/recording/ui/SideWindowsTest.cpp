#include "support/SimPlatform.h"
#include "support/TestSupport.h"

#include "core/Dialing.h"
#include "recording/ui/SideWindows.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {
class SideWindowsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        oldBound = SetHangUpWaitBound(0);
    }
    void TearDown() override
    {
        UnloadAlert();
        delete ConStopWindow();
        flushDeletes();
        SetHangUpWaitBound(oldBound);
        ProgramTest::TearDown();
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    SimPlatform platform;
    int oldBound = 0;
};
} // namespace

TEST_F(SideWindowsTest, CountdownHangsUpTheLastConnectionAtZero)
{
    platform.phoneBook.addConnection(0x10, "A");
    platform.phoneBook.addConnection(0x20, "B");
    const QPointer<ConStop> window = ShowConStop();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->Label1->text(), "Verbindungstrennung!");
    EXPECT_EQ(window->Label2->text(), "Sie haben Ihr Budget/Zeitlimit überschritten und die automatische "
                                      "Verbindungstrennung wurde festgelegt.");
    EXPECT_EQ(window->Label3->text(), "Die Verbindung wird in 120 Sekunden getrennt!");
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(window->Timer1.interval(), 1000);

    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text(), "Die Verbindung wird in 119 Sekunden getrennt!");
    // A second opener leaves the running countdown alone.
    EXPECT_EQ(ShowConStop(), window.data());
    EXPECT_EQ(window->secondsLeft, 119);

    for (int i = 0; i < 118; ++i) window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text(), "Die Verbindung wird in 1 Sekunden getrennt!");
    EXPECT_TRUE(platform.phoneBook.hangUpCalls.isEmpty());
    window->Timer1_Timer();
    EXPECT_EQ(platform.phoneBook.hangUpCalls, QList<quint32>{0x20});
    EXPECT_EQ(ConStopWindow(), nullptr);
    flushDeletes();
    EXPECT_FALSE(window);
}

TEST_F(SideWindowsTest, CountdownThatCannotEndTheConnectionSaysSo)
{
    platform.phoneBook.addConnection(0x40, "Provider B");
    platform.phoneBook.hangUpRefusals.insert(0x40, ERROR_ACCESS_DENIED);
    const QPointer<ConStop> window = ShowConStop();
    window->secondsLeft = 1;
    window->Timer1_Timer();
    EXPECT_EQ(platform.phoneBook.hangUpCalls, QList<quint32>{0x40});
    EXPECT_EQ(ConStopWindow(), nullptr); // gone before the message, which waits for no tick
    EXPECT_TRUE(dialogs.messages.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.texts(), QStringList{"Die Verbindung 'Provider B' konnte nicht getrennt werden."});
    EXPECT_EQ(dialogs.messages.value(0).style, int(vbExclamation));
    flushDeletes();
    EXPECT_FALSE(window);
}

TEST_F(SideWindowsTest, CountdownWithNoConnectionJustCloses)
{
    const QPointer<ConStop> window = ShowConStop();
    window->secondsLeft = 1;
    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text(), "Die Verbindung wird in 0 Sekunden getrennt!");
    EXPECT_TRUE(platform.phoneBook.hangUpCalls.isEmpty());
    EXPECT_FALSE(window->Timer1.isActive());
    flushDeletes();
    EXPECT_FALSE(window);
    // Closed, a new countdown starts afresh.
    EXPECT_EQ(ShowConStop()->Label3->text(), "Die Verbindung wird in 120 Sekunden getrennt!");
}

TEST_F(SideWindowsTest, NoticeCountsDownClosesAndRestarts)
{
    const QPointer<Alert> window = ShowAlert("Text A");
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Label1->text(), "Budgetüberschreitung!");
    EXPECT_EQ(window->Label2->text(), "Text A");
    EXPECT_EQ(window->Label3->text(), "Das Fenster schließt in 30s.");
    EXPECT_EQ(window->Command1->text(), "Schließen");

    window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text(), "Das Fenster schließt in 29s.");
    for (int i = 0; i < 10; ++i) window->Timer1_Timer();
    EXPECT_EQ(window->Countdown, 19);

    // Shown again: the same window, the new text, 30 seconds again.
    EXPECT_EQ(ShowAlert("Text B"), window.data());
    EXPECT_EQ(window->Label2->text(), "Text B");
    EXPECT_EQ(window->Label3->text(), "Das Fenster schließt in 30s.");
    for (int i = 0; i < 29; ++i) window->Timer1_Timer();
    EXPECT_EQ(window->Label3->text(), "Das Fenster schließt in 1s.");
    EXPECT_EQ(AlertWindow(), window.data());
    window->Timer1_Timer();
    EXPECT_EQ(AlertWindow(), nullptr);
    flushDeletes();
    EXPECT_FALSE(window);

    // The default text stands until an opener gives one; the button closes at once.
    const QPointer<Alert> second = ShowAlert(QString());
    EXPECT_EQ(second->Label2->text(), "Sie überschreiten nun Ihr Budget. Diese Warnung können Sie in den Budget- "
                                      "einstellungen deaktivieren.");
    second->Command1->click();
    EXPECT_EQ(AlertWindow(), nullptr);
    flushDeletes();
    EXPECT_FALSE(second);
}

TEST_F(SideWindowsTest, CountdownGoneDuringTheHangUpWait)
{
    // The hang-up waits with timers running; a window closed by one of them must not be touched after.
    SetHangUpWaitBound(2000);
    platform.phoneBook.addConnection(0x10, "A");
    platform.phoneBook.pollsUntilGone = 5;
    const QPointer<ConStop> window = ShowConStop();
    window->secondsLeft = 1;
    QTimer::singleShot(0, [&] { window->deleteLater(); });
    window->Timer1_Timer();
    EXPECT_FALSE(window);
    EXPECT_EQ(platform.phoneBook.hangUpCalls, QList<quint32>{0x10});
    EXPECT_EQ(ConStopWindow(), nullptr);
}

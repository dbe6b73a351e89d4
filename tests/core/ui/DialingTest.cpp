#include "support/TestSupport.h"
#include "support/ui/WindowSystemClick.h"

#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/TextFile.h"
#include "core/platform/sim/SimPhoneBook.h"
#include "core/ui/Status.h"
#include "core/ui/WindowUtils.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {
class DialingTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetPhoneBook(&book);
        oldBound = SetHangUpWaitBound(300);
        oldStart = SetDialStartWait(0);
        RasDialInfo windowsData;
        windowsData.szUserName = "win";
        windowsData.szPhoneNumber = "0191011";
        book.addEntry("Provider", windowsData, false);
    }
    void TearDown() override
    {
        UnloadDialProgressWindow();
        flushDeletes();
        SetHangUpWaitBound(oldBound);
        SetDialStartWait(oldStart);
        SetPhoneBook(nullptr);
        ProgramTest::TearDown();
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void writeDat(const QString& number, const QString& user, const QString& password)
    {
        ASSERT_TRUE(WriteTextLines(path("DialUp/Provider.dat"), {number, EncryptString("U" + user),
                                                                 EncryptString("P" + password)}));
    }
    void expectOneMessage(const QString& text)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].icon(), vbExclamation);
        dialogs.messages.clear();
    }

    SimPhoneBook book;
    int oldBound = 0;
    int oldStart = 0;
};
} // namespace

TEST_F(DialingTest, StatusWindowShowsEachStateAndClosesWhenConnected)
{
    const std::pair<quint32, const char*> rows[] = {
        {0, "Wähle. (0)"}, {1, "Wähle.. (1)"}, {2, "Wähle... (2)"}, {3, "Verbunden... (3)"}, {4, "Verbunden... (4)"},
        {5, "Benutzernamen und Passwort überprüfen... (5)"}, {6, "Benutzername oder Passwort ist falsch! (6)"},
        {9, "Wähle... (9)"}, {14, "Bestätigt... (14)"}, {16, "Warte auf Modem Reset... (16)"},
        {21, "Netwerk einloggen... (21)"}, {0x1003, "Falsches Passwort! (4099)"},
        {0x2001, "Verbindung getrennt! (8193)"},
    };
    Status* status = StatusWindow();
    EXPECT_TRUE(IsFormLoaded("Status"));
    EXPECT_EQ(status->windowTitle(), "Wähle DFÜ Verbindung...");
    EXPECT_EQ(status->Label1->text(), "Wähle");
    EXPECT_EQ(status->Command1->text(), "A&bbrechen");
    for (auto [state, text] : rows) {
        book.sendEvent(1, state);
        EXPECT_EQ(status->Label1->text(), QString::fromUtf8(text));
    }
    // Shown modally by the caller, the window ends its display when the link is up.
    QTimer::singleShot(10, [&] { book.sendEvent(1, RASCS_Connected); });
    ShowStatusWindow(true);
    flushDeletes();
    EXPECT_FALSE(IsFormLoaded("Status"));
    ShowStatusWindow(true); // nothing left to show: returns at once
}

TEST_F(DialingTest, AUsersCloseOfTheProgressWindowHangsTheDialUpItsOwnClosesDoNot)
{
    // The window is the dial's only control: while it is open no second dial starts, and a person's close
    // (the close box, Escape) ends the dial as "Abbrechen" does.
    book.entryData["Provider"].passwordSaved = SavedPassword::Yes;
    const struct {
        const char* how;
        std::function<void(Status*, quint32)> close;
        bool hungUp;
    } rows[] = {
        {"Abbrechen", [](Status* s, quint32) { PostWindowSystemClick(s->Command1); }, true},
        {"close box", [](Status* s, quint32) { SendWindowSystemClose(s); }, true},
        {"Escape", [](Status* s, quint32) { SendWindowSystemKey(s, Qt::Key_Escape); }, true},
        {"connected", [this](Status*, quint32 h) { book.sendEvent(h, RASCS_Connected); }, false},
        {"program end", [](Status*, quint32) { UnloadDialProgressWindow(); }, false},
    };
    for (const auto& r : rows) {
        book.hangUpCalls.clear();
        G_DialedHere = true;
        const quint32 handle = DialEntry(QString(), "Provider");
        ASSERT_NE(handle, 0u) << r.how;
        ShowStatusWindow(false);
        EXPECT_TRUE(DialUnderWay()) << r.how;
        r.close(StatusWindow(), handle);
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        flushDeletes();
        EXPECT_FALSE(IsFormLoaded("Status")) << r.how;
        EXPECT_FALSE(DialUnderWay()) << r.how;
        EXPECT_EQ(book.hangUpCalls.size(), r.hungUp ? 1 : 0) << r.how;
        EXPECT_EQ(book.hangUpCalls.value(0), r.hungUp ? handle : 0u) << r.how;
        EXPECT_EQ(G_DialedHere, !r.hungUp) << r.how;
        EXPECT_EQ(G_hRasConn, r.hungUp ? 0u : handle) << r.how;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DialingTest, PasswordPromptIsMaskedAndAnEmptyAnswerDialsNothing)
{
    EXPECT_EQ(DialEntry(QString(), "Provider"), 0u); // the system's data hold no password
    ASSERT_EQ(dialogs.inputs.size(), 1);
    EXPECT_EQ(dialogs.inputs[0].prompt, "Bitte geben Sie das Passwort für die DFÜ Verbindung 'Provider' ein.");
    EXPECT_EQ(dialogs.inputs[0].title, "Passwortabfrage");
    EXPECT_EQ(dialogs.inputs[0].defaultText, "");
    EXPECT_TRUE(dialogs.inputs[0].masked);
    EXPECT_TRUE(book.dialCalls.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(IsFormLoaded("Status"));

    dialogs.answerInput("geheim");
    const quint32 handle = DialEntry(QString(), "Provider");
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(G_hRasConn, handle);
    ASSERT_EQ(book.dialCalls.size(), 1);
    EXPECT_EQ(book.dialCalls[0].szEntryName, "Provider");
    EXPECT_EQ(book.dialCalls[0].szUserName, "win");
    EXPECT_EQ(book.dialCalls[0].szPassword, "geheim");
    EXPECT_TRUE(IsFormLoaded("Status"));

    G_DialedHere = true; // Cancel in the progress window hangs that dial up
    StatusWindow()->Command1_Click();
    flushDeletes();
    EXPECT_FALSE(G_DialedHere);
    EXPECT_EQ(book.hangUpCalls, (QList<quint32>{handle}));
    EXPECT_EQ(G_hRasConn, 0u);
    EXPECT_FALSE(IsFormLoaded("Status"));
}

TEST_F(DialingTest, WhichCredentialsAreDialled)
{
    const struct {
        const char* cfg; // nullptr = no DialUp.cfg
        bool dat;
        SavedPassword saved;
        QString number, user, password;
    } rows[] = {
        {"Wahr", true, SavedPassword::Yes, "0191011", "win", ""},  // the system's data, its password saved
        {nullptr, true, SavedPassword::Yes, "0191011", "win", ""}, // no file means "Wahr"
        // secrets the user may not read: pppd takes the password from them itself
        {"Wahr", false, SavedPassword::Unknown, "0191011", "win", ""},
        {"Falsch", false, SavedPassword::No, "0191011", "win", ""}, // no .dat: the system's data, no prompt
        {"Falsch", true, SavedPassword::No, "0800 123", "hans", "pw"},
        {"falsch", true, SavedPassword::No, "0800 123", "hans", "pw"},
        {"Falsch", true, SavedPassword::Unknown, "0800 123", "hans", "pw"},
    };
    for (const auto& r : rows) {
        QFile::remove(path("DialUp/DialUp.cfg"));
        QFile::remove(path("DialUp/Provider.dat"));
        if (r.cfg) writeFile("DialUp/DialUp.cfg", QByteArray(r.cfg) + "\r\n");
        if (r.dat) writeDat(" 0800 123 ", "hans", "pw");
        book.entryData["Provider"].passwordSaved = r.saved;
        book.dialCalls.clear();
        EXPECT_NE(DialEntry(QString(), "Provider"), 0u);
        ASSERT_EQ(book.dialCalls.size(), 1);
        EXPECT_EQ(book.dialCalls[0].szPhoneNumber, r.number);
        EXPECT_EQ(book.dialCalls[0].szUserName, r.user);
        EXPECT_EQ(book.dialCalls[0].szPassword, r.password);
        EXPECT_TRUE(dialogs.inputs.isEmpty());
        UnloadDialProgressWindow(); // the dial is under way until its window closes
    }
    writeDat("0800", "hans", ""); // a stored user without a password: the masked prompt supplies it
    book.dialCalls.clear();
    dialogs.answerInput("frisch");
    EXPECT_NE(DialEntry(QString(), "Provider"), 0u);
    ASSERT_EQ(dialogs.inputs.size(), 1);
    EXPECT_TRUE(dialogs.inputs[0].masked);
    ASSERT_EQ(book.dialCalls.size(), 1);
    EXPECT_EQ(book.dialCalls[0].szPassword, "frisch");
}

TEST_F(DialingTest, StoredDataWithoutUserNameDialsNothing)
{
    const QString noUser = "Sie haben in den DFÜ Einstellungen von Zumbrel keinen Benutzernamen für diese Verbindung "
                           "angegeben. Bitte holen Sie dies nach, bevor Sie eine Verbindung mit Zumbrel aufbauen.";
    writeFile("DialUp/DialUp.cfg", "Falsch\r\n");
    for (const QString& user : {QString(), QStringLiteral("   "), QStringLiteral("-")}) {
        if (user == "-") ASSERT_TRUE(WriteTextLines(path("DialUp/Provider.dat"), {"0191011"})); // too short
        else writeDat("0191011", user, "pw");
        EXPECT_EQ(DialEntry(QString(), "Provider"), 0u);
        expectOneMessage(noUser);
    }
    EXPECT_TRUE(book.dialCalls.isEmpty());
    EXPECT_TRUE(dialogs.inputs.isEmpty());
    EXPECT_FALSE(IsFormLoaded("Status"));
}

TEST_F(DialingTest, ADialThatCannotStartReturnsZeroWithItsMessage)
{
    book.entryData["Provider"].passwordSaved = SavedPassword::Yes;
    const QString failText = "Die DFÜ Verbindung 'Provider' konnte nicht gewählt werden.";
    book.dialResult = ERROR_PORT_NOT_AVAILABLE;
    G_hRasConn = 5;
    EXPECT_EQ(DialEntry(QString(), "Provider"), 0u);
    EXPECT_EQ(G_hRasConn, 0u);
    expectOneMessage(failText);
    EXPECT_EQ(book.hangUpCalls.size(), 1);
    flushDeletes();
    EXPECT_FALSE(IsFormLoaded("Status"));

    book.dialResult = RAS_SUCCESS; // pppd ending at once is no dial either
    book.statesAfterDial = {RASCS_Disconnected};
    SetDialStartWait(500);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(DialEntry(QString(), "Provider"), 0u);
    EXPECT_LT(t.elapsed(), 450); // it stops waiting at the end of the dial
    expectOneMessage(failText);
    flushDeletes();
    EXPECT_FALSE(IsFormLoaded("Status"));

    book.statesAfterDial = {RASCS_OpenPort}; // still under way at the end of the watch: returned
    SetDialStartWait(50);
    const quint32 handle = DialEntry(QString(), "Provider");
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(G_hRasConn, handle);
    EXPECT_EQ(StatusWindow()->Label1->text(), "Wähle. (0)");
    UnloadDialProgressWindow();
    flushDeletes();
    book.statesAfterDial = {RASCS_Connected}; // up already: no window left to show
    SetDialStartWait(300);
    EXPECT_NE(DialEntry(QString(), "Provider"), 0u);
    flushDeletes();
    EXPECT_FALSE(IsFormLoaded("Status"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DialingTest, HangUpWaitIsBoundedAndKeepsTimersTicking)
{
    book.addConnection(7, "Provider");
    book.addConnection(8, "Other");
    book.pollsUntilGone = -1;            // 7 never goes away
    book.pollsUntilGoneFor.insert(8, 3); // 8 goes after three status queries
    G_hRasConn = 7;
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);
    // a timer that hangs up during the wait waits inside it, and the timers go on ticking meanwhile
    int ticksBefore = -1, ticksAfter = -1;
    QTimer::singleShot(50, [&] {
        ticksBefore = ticks;
        HangUpConnection(8);
        ticksAfter = ticks;
    });
    QElapsedTimer t;
    t.start();
    HangUpConnection(7);
    EXPECT_GE(t.elapsed(), 300);
    EXPECT_LT(t.elapsed(), 3000); // the bound set, well short of the 5 s default
    // A waiting loop fires the ticker, due every 5 ms, before the 20 ms poll and the 50 ms hang-up due after
    // it, however busy the machine is: the inner wait polls twice. A wait that blocks gives none.
    EXPECT_GE(ticksBefore, 1);
    EXPECT_GE(ticksAfter, ticksBefore + 2);
    EXPECT_EQ(G_hRasConn, 0u);
    EXPECT_EQ(book.hangUpCalls, (QList<quint32>{7, 8}));
    QList<RasConnInfo> conns;
    ASSERT_EQ(EnumRasConnections(conns), 1); // 8 is gone, 7 stays listed
    EXPECT_EQ(conns[0].hrasconn, 7u);
}

TEST_F(DialingTest, HangUpReturnsOnceTheConnectionIsGoneAndEmptyListsStayAlone)
{
    book.addConnection(7, "Provider");
    book.pollsUntilGone = 2;
    QElapsedTimer t;
    t.start();
    HangUpConnection(7);
    G_hRasConn = 3;
    HangUpConnection(0); // no connection at all
    EXPECT_LT(t.elapsed(), 250);
    EXPECT_EQ(G_hRasConn, 0u);

    QList<RasConnInfo> conns(1);
    conns[0].szEntryName = "alt";
    EXPECT_EQ(EnumRasConnections(conns), 0);
    EXPECT_EQ(conns.value(0).szEntryName, "alt");
    QList<RasEntryInfo> entries;
    EXPECT_EQ(EnumRasEntries(entries, QString()), 1);
    book.entryList.clear();
    EXPECT_EQ(EnumRasEntries(entries, QString()), 0);
    EXPECT_EQ(entries.value(0).szEntryName, "Provider");
}

TEST_F(DialingTest, AHangUpThatFailsIsSaidOncePerConnection)
{
    const QString failed = QStringLiteral("Die Verbindung 'Provider' konnte nicht getrennt werden.");
    book.addConnection(0x31, "Provider");
    book.hangUpRefusals.insert(0x31, ERROR_ACCESS_DENIED); // a root pppd, a user's program
    book.addConnection(0x32, "");
    book.hangUpRefusals.insert(0x32, ERROR_ACCESS_DENIED);
    book.addConnection(0x33, "Provider");
    book.pollsUntilGoneFor.insert(0x33, -1); // signalled, but it never goes
    EXPECT_FALSE(HangUpConnection(0x31));
    EXPECT_FALSE(HangUpConnection(0x31)); // tried again: not said again
    EXPECT_FALSE(HangUpConnection(0x32));
    EXPECT_FALSE(HangUpConnection(0x33));
    EXPECT_TRUE(HangUpConnection(0x34)); // none of that handle: nothing to end
    EXPECT_EQ(dialogs.texts(), QStringList({failed, "Die Verbindung 'unbekannt' konnte nicht getrennt werden.", failed}));
    for (const MessageRequest& m : dialogs.messages) EXPECT_EQ(m.style, int(vbExclamation));
}

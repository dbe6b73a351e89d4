#include "core/Dialogs.h"
#include "core/InternetFunctions.h"
#include "core/platform/linux/QtDownloader.h"
#include "core/platform/sim/SimDownloader.h"
#include "core/platform/sim/SimSystemClock.h"
#include "core/ui/WidgetDialogs.h"

#include "support/LoopbackServer.h"
#include "support/ui/WindowSystemClick.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {
class DownloadTest : public ProgramTest {
protected:
    QString target() const { return path("Tarife/neu.atl"); }
    QStringList folderFiles() const { return QDir(path("Tarife")).entryList(QDir::Files | QDir::Hidden); }
};
} // namespace

TEST_F(DownloadTest, OkAnswerGivesTheFileAndNotFoundLeavesTheTarget)
{
    QtDownloader downloader(900);
    SetDownloader(&downloader);
    for (auto [status, got] : {std::pair{"404 Not Found", "alt"}, {"200 OK", "Anbieter:X\r\nTarif:Y\r\n"}}) {
        LoopbackServer server(Http(status, status[0] == '2' ? "Anbieter:X\r\nTarif:Y\r\n" : "<html>weg</html>"));
        writeFile("Tarife/neu.atl", "alt");
        EXPECT_EQ(DownloadFile(server.url("/tarife/neu.atl"), target()), status[0] == '2');
        EXPECT_EQ(readFile("Tarife/neu.atl"), QByteArray(got));
        EXPECT_TRUE(server.request().startsWith("GET /tarife/neu.atl HTTP/1.1\r\n"));
        EXPECT_EQ(folderFiles(), QStringList{"neu.atl"});
    }
    SetDownloader(nullptr);
}

TEST_F(DownloadTest, SilentServerTimesOutWhileTimersRunAndNoSecondDownloadNests)
{
    LoopbackServer server{QByteArray()};
    QtDownloader downloader(400);
    SetDownloader(&downloader);
    int ticks = 0;
    int nestedResults = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        if (ticks == 2 && !DownloadFile(server.url("/zwei"), path("zwei.txt"))) ++nestedResults;
    });
    tick.start(50);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(DownloadFile(server.url("/eins"), target()));
    EXPECT_LT(elapsed.elapsed(), 900);
    EXPECT_GE(ticks, 3); // the billing ticks kept running while the download waited
    EXPECT_EQ(nestedResults, 1);
    EXPECT_FALSE(exists("Tarife/neu.atl"));
    EXPECT_FALSE(exists("zwei.txt"));
    EXPECT_TRUE(folderFiles().isEmpty());

    // a click that arrives while the download waits is served at once, under the busy cursor
    QWidget window;
    QPushButton button("Stopp", &window);
    window.show();
    QElapsedTimer clock;
    qint64 clickedAt = -1;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QObject::connect(&button, &QPushButton::clicked, [&] { clickedAt = clock.elapsed(); });
    QTimer::singleShot(100, [&] {
        if (const QCursor* c = QGuiApplication::overrideCursor()) cursor = c->shape();
        PostWindowSystemClick(&button);
    });
    clock.start();
    EXPECT_FALSE(DownloadFile(server.url("/drei"), target()));
    const qint64 ended = clock.elapsed();
    EXPECT_GE(clickedAt, 100);
    EXPECT_LT(clickedAt, ended - 100);
    EXPECT_EQ(cursor, Qt::BusyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    SetDownloader(nullptr);
}

// A tick that waits for the web does not wait for a person: its own OK boxes come once it has returned, and so
// do those of a tick that ran inside its wait. A click served while it waits is no part of it and is answered
// at once. Real boxes; the person is a timer that answers each box 300 ms after it opens.
TEST_F(DownloadTest, OnlyAClicksBoxComesWhileATickWaits)
{
    LoopbackServer silent{QByteArray()};
    QtDownloader downloader(500);
    SetDownloader(&downloader);
    WidgetDialogs real;
    SetDialogHandler(&real);
    QStringList seen; // the boxes in the order the person saw them
    QElapsedTimer clock;
    clock.start();
    QTimer person;
    QObject::connect(&person, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (!box->property("openedAt").isValid()) {
            box->setProperty("openedAt", clock.elapsed());
            seen << box->text().remove(QChar(0x200B));
        } else if (clock.elapsed() - box->property("openedAt").toLongLong() >= 300) {
            box->buttons().first()->click();
        }
    });
    person.start(20);
    QWidget window;
    QPushButton button("Prüfen", &window);
    window.show();
    QObject::connect(&button, &QPushButton::clicked, [] { MsgBox("Vom Klick.", vbOKOnly + vbExclamation); });
    QTimer::singleShot(100, [&] { PostWindowSystemClick(&button); });
    QTimer::singleShot(200, [] { // runs inside the click's box, inside the job's wait
        const TickMessages billing;
        MsgBox("Vom Takt.");
    });
    {
        const TickMessages job;
        MsgBox("Vom Job.");
        EXPECT_FALSE(DownloadFile(silent.url("/update.txt"), target()));
        MsgBox("Nach dem Warten.");
        EXPECT_EQ(seen, QStringList({"Vom Klick."}));
    }
    QElapsedTimer limit;
    limit.start();
    while (seen.size() < 4 && limit.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(seen, QStringList({"Vom Klick.", "Vom Job.", "Vom Takt.", "Nach dem Warten."}));
    while (QApplication::activeModalWidget() && limit.elapsed() < 10000) QCoreApplication::processEvents();
    SetDialogHandler(&dialogs);
    SetDownloader(nullptr);
}

TEST_F(DownloadTest, MissingDownloaderSaysSo)
{
    SimDownloader sim;
    sim.available = false;
    SetDownloader(&sim);
    EXPECT_FALSE(DownloadFile("http://127.0.0.1/x", target()));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              "Es können leider keine Tarifupdates oder Zeitsynchronisationen durchgeführt werden, da die Datei "
              "urlmon.dll nicht auf Ihrem Rechner installiert ist. Diese ist im Internet Explorer enthalten.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbExclamation);
    EXPECT_TRUE(sim.calls.isEmpty());
    SetDownloader(nullptr);
}

namespace {
class ClockSyncTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetDownloader(&web);
        SetSystemClock(&system);
        system.offsetSeconds = 3600;
    }
    void TearDown() override
    {
        SetDownloader(nullptr);
        SetSystemClock(nullptr);
        ProgramTest::TearDown();
    }
    void page(const QByteArray& h2Line, const QByteArray& eol = "\r\n")
    {
        web.pages[TIME_SERVICE_HOST + TIME_SERVICE_PATH] = "<HTML><HEAD><TITLE>Zeit</TITLE></HEAD>" + eol +
                                                           "<BODY><H1>Current Timezone: Etc/GMT</H1>" + eol + h2Line +
                                                           eol + "</BODY></HTML>" + eol;
    }
    SimDownloader web;
    SimSystemClock system;
};
} // namespace

TEST_F(ClockSyncTest, SetsLocalTimeFromTheGmtPage)
{
    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n")}) {
        system.sets.clear();
        page("<H2>Thu Dec 31 23:30:00 GMT 2026</H2>", eol);
        clock.set(QDateTime(QDate(2027, 1, 1), QTime(0, 28, 30))); // 90 seconds late
        ClockSyncStatus status = ClockSyncStatus::NoTime;
        EXPECT_DOUBLE_EQ(SyncClockFromWeb(&status), 90.0 / 86400.0);
        EXPECT_EQ(status, ClockSyncStatus::Set);
        EXPECT_EQ(system.sets, QList<QDateTime>{QDateTime(QDate(2027, 1, 1), QTime(0, 30, 0))});
        EXPECT_EQ(web.calls.last(), TIME_SERVICE_HOST + "/xdate?Etc/GMT -> " + path("time.tmp"));
        EXPECT_FALSE(exists("time.tmp"));
    }
    page("<H2>Mon Mar  7 05:04:03 GMT 2011</H2>"); // a day written with a blank
    clock.set(QDateTime(QDate(2011, 3, 7), QTime(6, 5, 3)));
    EXPECT_DOUBLE_EQ(SyncClockFromWeb(), -60.0 / 86400.0);
    EXPECT_EQ(system.sets.last(), QDateTime(QDate(2011, 3, 7), QTime(6, 4, 3)));
}

TEST_F(ClockSyncTest, UnexpectedPagesSetNothing)
{
    const QByteArray lines[] = {
        "<H2>Thu Dez 31 23:30:00 GMT 2026</H2>", // month not in the list
        "<H2>Thu dec 31 23:30:00 GMT 2026</H2>",
        "<H2>Thu Dec 31 ab:cd:ef GMT 2026</H2>", // time fields that are no numbers
        "<H2>Thu Dec 31 23:3x:00 GMT 2026</H2>",
        "<H2>Thu Dec 00 23:30:00 GMT 2026</H2>", // day 0
        "<H2>Thu Dec 32 23:30:00 GMT 2026</H2>", "<H2>Thu Feb 30 23:30:00 GMT 2026</H2>",
        "<H2>Thu Dec 31 24:30:00 GMT 2026</H2>", "<H2>Thu Dec 31 23:60:00 GMT 2026</H2>",
        "<H2>Thu Dec 31 23:30:60 GMT 2026</H2>", "<H2>Thu Dec 31 23:30:00 GMT 0000</H2>",
        "<H2>Thu Dec 31 23:30:00 GMT 1899</H2>", "<H2>Thu Dec 31 23:30:00 GMT -202</H2>",
        "<H3>Thu Dec 31 23:30:00 GMT 2026</H3>", // marker missing
    };
    for (const QByteArray& line : lines) {
        page(line);
        ClockSyncStatus status = ClockSyncStatus::Set;
        EXPECT_EQ(SyncClockFromWeb(&status), 0.0) << line.constData();
        EXPECT_EQ(status, ClockSyncStatus::NoTime);
        EXPECT_FALSE(exists("time.tmp"));
    }
    web.pages[TIME_SERVICE_HOST + TIME_SERVICE_PATH] = "<H2>Thu Dec 31 23:30:00 GMT 2026</H2> Current Timezone: x";
    EXPECT_EQ(SyncClockFromWeb(), 0.0); // the time must follow the zone marker
    web.pages.clear();
    EXPECT_EQ(SyncClockFromWeb(), 0.0); // no page at all
    EXPECT_TRUE(system.sets.isEmpty());
}

TEST_F(ClockSyncTest, PageMustReachFortyCharactersPastTheMarker)
{
    const QString head = "Current Timezone: Etc/GMT ";
    const QString h2 = "<H2>Thu Dec 31 23:30:00 GMT 2026</H2>"; // 37 characters
    EXPECT_FALSE(ParseTimePage(head + h2 + "xxx").isValid());   // ends 39 characters after the '<'
    EXPECT_EQ(ParseTimePage(head + h2 + "xxxx"), QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0), Qt::UTC));
}

TEST_F(ClockSyncTest, RefusedClockIsAFailureNotACorrection)
{
    page("<H2>Thu Dec 31 23:30:00 GMT 2026</H2>");
    system.acceptSet = false;
    clock.set(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)));
    ClockSyncStatus status = ClockSyncStatus::Set;
    EXPECT_EQ(SyncClockFromWeb(&status), 0.0);
    EXPECT_EQ(status, ClockSyncStatus::NotAllowed);
    EXPECT_EQ(system.sets.size(), 1);
}

TEST(InternetFunctions, ZoneOffset)
{
    SimSystemClock system;
    system.offsetSeconds = 7200;
    system.zone = "MESZ";
    SetSystemClock(&system);
    QString zone = "Zone: ";
    EXPECT_EQ(GetTimeZoneOffset(zone), 7200);
    EXPECT_EQ(zone, "Zone: MESZ");
    SetSystemClock(nullptr);
}

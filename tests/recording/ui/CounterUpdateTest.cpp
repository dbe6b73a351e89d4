#include "core/InternetFunctions.h"
#include "core/ui/WindowUtils.h"
#include "tariffs/ui/Autoupdate.h"
#include "tariffs/ui/Tarife.h"

#include "support/WaitingDownloader.h"
#include "support/ui/WindowSystemClick.h"

#include "CounterPageFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

#include <memory>

namespace {
// A recording with the tariff update due, and one server offering two tariffs.
class CounterUpdateTest : public CounterPageTest {
protected:
    void SetUp() override
    {
        CounterPageTest::SetUp();
        SetDownloader(&web);
        writeFile("Config/Autoupdate.cfg", " 1\r\n 7\r\n");
        writeFile("Servers.dat", "http://s\r\n");
        writeFile("Revision.dat", "3.3\r\n");
        list("*U*x4");
        web.pages["http://s/tel/y"] = "Anbieter:X\nTarif:Y\n";
        web.pages["http://s/tel/z"] = "Anbieter:X\nTarif:Z\n";
    }
    void TearDown() override
    {
        delete Autoupdate::instance();
        SetDownloader(nullptr);
        CounterPageTest::TearDown();
    }
    void list(const QByteArray& firstLine)
    {
        web.pages["http://s/update.txt"] = firstLine + "\n[0001]\n<tel/y|X - Y.atl>\n<tel/z|X - Z.atl>\n";
    }
    // Thirty seconds into the recording.
    Connection* checked()
    {
        Connection* page = start();
        EXPECT_NE(page, nullptr);
        clock.advance(30);
        QMetaObject::invokeMethod(&page->Timer1, "timeout");
        return page;
    }
    static void click(QLabel* label)
    {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(label, &release);
    }

    // The loop a download waits in: clicks posted before are served in it.
    static void serveClicks()
    {
        QEventLoop wait;
        QTimer::singleShot(20, &wait, &QEventLoop::quit);
        wait.exec();
    }

    WaitingDownloader web;
};
} // namespace

TEST_F(CounterUpdateTest, FoundTariffsAreALinkToTheWindowAndTheDownloadReportsBack)
{
    Connection* page = checked();
    EXPECT_EQ(page->lblTarifupdates->text(), "2 Tarife gefunden.");
    EXPECT_TRUE(HasLinkLook(page->lblTarifupdates));
    EXPECT_EQ(page->lblProgrammupdates->text(), "Neues Update verfügbar.");
    EXPECT_TRUE(HasLinkLook(page->lblProgrammupdates));
    Autoupdate* window = Autoupdate::instance();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible()); // loaded, hidden until the label is clicked

    click(page->lblTarifupdates);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    window->Command1_Click(0);
    EXPECT_EQ(page->lblTarifupdates->text(), "Tarifupdate durchgeführt.");
    EXPECT_FALSE(HasLinkLook(page->lblTarifupdates));
    EXPECT_EQ(readFile("Tarife/X - Y.atl"), "Anbieter:X\r\nTarif:Y\r\n");
    EXPECT_EQ(readFile("Config/Update.cfg"), " 1\r\n17.01.2001\r\n");
    EXPECT_EQ(Autoupdate::instance(), nullptr);
    click(page->lblTarifupdates); // no longer a link
    EXPECT_EQ(Autoupdate::instance(), nullptr);
}

TEST_F(CounterUpdateTest, OlderOrEqualRevisionsRaiseNoNoticeAndNothingFoundReleasesTheWindow)
{
    list("*U*x3.10"); // 3.1
    web.pages.remove("http://s/tel/y");
    Connection* page = checked();
    EXPECT_EQ(page->lblProgrammupdates->text(), "");
    EXPECT_FALSE(HasLinkLook(page->lblProgrammupdates));

    click(page->lblTarifupdates);
    Autoupdate::instance()->DownloadTarife(); // one of the two fails
    EXPECT_EQ(page->lblTarifupdates->text(), "Tarifupdate unvollständig.");
    EXPECT_FALSE(HasLinkLook(page->lblTarifupdates));
    EXPECT_EQ(dialogs.texts(), QStringList{"Nicht alle Tarife konnten heruntergeladen werden. Sie werden beim "
                                           "nächsten Update erneut angeboten."});
    EXPECT_FALSE(exists("Config/Update.cfg"));
    page->cmdStop_Click();
    spin(30);

    web.pages.remove("http://s/update.txt");
    page = checked();
    EXPECT_EQ(page->lblTarifupdates->text(), "Keine Tarife gefunden.");
    EXPECT_FALSE(HasLinkLook(page->lblTarifupdates));
    EXPECT_EQ(Autoupdate::instance(), nullptr);
    EXPECT_EQ(dialogs.texts().size(), 1); // no server reached: the automatic check says nothing
}

// While the update window downloads, timers run: the next recording's check finds the window in use and
// leaves it alone, and the recording that opened it may end.
TEST_F(CounterUpdateTest, ACheckDuringTheDownloadTouchesNothing)
{
    Connection* page = checked();
    click(page->lblTarifupdates);
    QPointer<Autoupdate> window = Autoupdate::instance();
    int during = 0;
    web.during = [&](const QString& url) {
        if (!url.endsWith("/tel/y")) return;
        ++during;
        Connection* current = form->counterPage();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->checkForUpdates(), 0);
        current->releaseUpdateWindow();
        ASSERT_TRUE(window);
        EXPECT_EQ(window->List2->count(), 2);
        EXPECT_EQ(Autoupdate::instance(), window.data());
        current->cmdStop_Click(); // the recording ends meanwhile
        spin(30);
        EXPECT_EQ(form->counterPage(), nullptr);
    };
    window->DownloadTarife();
    EXPECT_EQ(during, 1);
    EXPECT_EQ(readFile("Tarife/X - Z.atl"), "Anbieter:X\r\nTarif:Z\r\n");
    EXPECT_EQ(readFile("Config/Update.cfg"), " 1\r\n17.01.2001\r\n");
    spin(5);
    EXPECT_FALSE(window);
}

// A click that needs the web while the web is waited for is refused by a greyed control: no server is
// asked, no file fails, nothing says that the servers could not be reached; afterwards the controls work.
TEST_F(CounterUpdateTest, ControlsThatNeedTheWebAreGreyedWhileItIsWaitedFor)
{
    Connection* page = start();
    ASSERT_NE(page, nullptr);
    form->show();
    std::unique_ptr<Tarife> browser(new Tarife);
    browser->Form_Load();
    browser->show();
    // ">>> jetzt prüfen", "Uhrzeit jetzt synchronisieren", and "Jetzt herunterladen" once its window is there
    QList<QWidget*> controls{browser->lblLink, page->Label1};
    QStringList enabledWhileWaiting;
    web.during = [&](const QString& url) {
        for (QWidget* control : controls) {
            if (control->isEnabled()) enabledWhileWaiting << url + " " + control->objectName();
            PostWindowSystemClick(control);
        }
        serveClicks();
    };
    clock.advance(30);
    QMetaObject::invokeMethod(&page->Timer1, "timeout"); // the page's own update check
    click(page->lblTarifupdates);
    QPointer<Autoupdate> window = Autoupdate::instance();
    ASSERT_TRUE(window && window->isVisible());
    controls << window->Command1[0];
    page->Label1_Click(); // the clock by hand: the service gives no time
    EXPECT_EQ(page->lblTimeSync->text(), "Die Uhrzeit konnte nicht gestellt werden.");

    EXPECT_EQ(enabledWhileWaiting, QStringList());
    EXPECT_EQ(web.refused, QStringList());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(exists("Tarife/X - Y.atl"));
    ASSERT_TRUE(window);
    EXPECT_EQ(window->List2->count(), 2);

    web.during = nullptr;
    for (QWidget* control : controls) EXPECT_TRUE(control->isEnabled());
    PostWindowSystemClick(window->Command1[0]);
    serveClicks();
    EXPECT_EQ(page->lblTarifupdates->text(), "Tarifupdate durchgeführt.");
}

#include "core/platform/Downloader.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/SideWindows.h"
#include "recording/ui/SmallWindow.h"
#include "support/BudgetRecordBuilder.h"

#include "CounterPageFixture.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include <functional>

namespace {
// Answers the boxes as told, and runs `during` while a box is open, as the ticks would.
struct WaitingDialogs : ScriptedDialogs {
    int messageBox(const MessageRequest& request) override
    {
        if (during) during();
        return ScriptedDialogs::messageBox(request);
    }
    std::function<void()> during;
};

// A time service that takes its time: the ticks run while it is asked, then it gives nothing.
struct SlowDownloader : Downloader {
    bool isAvailable() const override { return true; }
    bool download(const QString&, const QString&) override
    {
        ++calls;
        if (during) during();
        return false;
    }
    std::function<void()> during;
    int calls = 0;
};

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};
} // namespace

TEST_F(CounterPageTest, ManualStartShowsTheRecordingAndTheStopStoresIt)
{
    Connection* page = start();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->lblDauer->text(), "00:00:01");
    EXPECT_EQ(page->lblKosten->text(), "0,019 €");
    EXPECT_EQ(page->lblEinheit->text(), "60s");
    EXPECT_EQ(page->lblEuroProMinute->text(), "0,019 €");
    EXPECT_EQ(page->lblEinheiten->text(), "1 (59s)");
    EXPECT_EQ(page->Label3[26]->text(), "Restfreizeit:");
    EXPECT_EQ(page->lblRestFrei->text(), "keine");
    EXPECT_EQ(page->lblTarifname->text(), "Net - Tag");
    EXPECT_EQ(page->lblBenutzer->text(), "Supervisor");
    EXPECT_EQ(page->lblStartzeit->text(), "12:00:00");
    EXPECT_EQ(page->lblConnectionName->text(), "unbekannt");
    for (QLabel* l : {page->lblBytesIn, page->lblBytesOut, page->lblBytesInOut}) EXPECT_EQ(l->text(), "unbekannt");
    for (QLabel* l : {page->lblBytesInPerSecond, page->lblBytesOutPerSecond, page->lblBytesInOutPerSecond})
        EXPECT_EQ(l->text(), "0.0");
    EXPECT_EQ(page->lblRestTag->text(), "nicht festgelegt");
    EXPECT_EQ(page->lblRestTag->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_TRUE(page->Check2->isChecked()); // detection is on: the box mirrors it
    EXPECT_TRUE(page->cmdStop->isEnabled());
    EXPECT_EQ(page->wndConnection->frameShape(), QFrame::StyledPanel);

    ticks(60);
    EXPECT_EQ(page->lblDauer->text(), "00:01:01");
    EXPECT_EQ(page->lblKosten->text(), "0,038 €");
    EXPECT_EQ(form->windowTitle(), "0,038 € | 00:01:01 | 0.0 | unbekannt");

    page->cmdStop->click();
    ASSERT_EQ(records(), QStringList{"17012001-120000.con"});
    const QStringList record = deciphered("Verbindungen/17012001-120000.con");
    ASSERT_GE(record.size(), 4);
    EXPECT_EQ(record[2], "00:01:01");
    EXPECT_EQ(record[3], "S0,04");
    EXPECT_EQ(form->windowTitle(), "Zumbrel 3.3");
    EXPECT_EQ(form->Label1[0]->text(), "Übersicht");
    spin();
    EXPECT_EQ(form->counterPage(), nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CounterPageTest, DayBudgetOverrunWarnsOnceAndTurnsTheLabelRed)
{
    tariff = writeTariff("Teuer", 30); // 0,30 a minute
    writeFile("Benutzer/Benutzer.dat", " 0\r\n 0\r\n 1\r\nStandard\r\n");
    form = Form1::instance();
    form->Form_Load();
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Supervisor.bdg"), "0,4", "0", "0"));
    Connection* page = start();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->lblRestTag->text(), "0,10 €");
    EXPECT_EQ(page->lblRestTag->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(page->lblRestMonat->text(), "nicht festgelegt");
    EXPECT_EQ(AlertWindow(), nullptr);

    ticks(60);
    ASSERT_NE(AlertWindow(), nullptr);
    EXPECT_EQ(AlertWindow()->Label2->text(), "Sie überschreiten nun Ihr Tagesbudget. Diese Warnung können Sie in den "
                                             "Budgeteinstellungen deaktivieren.");
    EXPECT_EQ(page->lblRestTag->text(), "-0,20 €");
    EXPECT_EQ(page->lblRestTag->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    UnloadAlert();
    ticks(60);
    EXPECT_EQ(AlertWindow(), nullptr);

    // the budget page saved a new day budget: the page redraws from it at once
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Supervisor.bdg"), "5", "0", "0"));
    page->GetBudget();
    EXPECT_EQ(page->lblRestTag->text(), "4,10 €");
    EXPECT_EQ(page->lblRestTag->palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

TEST_F(CounterPageTest, BoxesRunTheirHandlersAndLinksActOnlyWhileUnderlined)
{
    Connection* page = start();
    ASSERT_NE(page, nullptr);
    struct Case {
        QCheckBox* box;
        const char* file;
    };
    for (const Case& c : {Case{page->Check1, "Config/Timesync.cfg"}, Case{page->Check3, "Config/Smallwindow.cfg"},
                          Case{page->Check2, "Config/Monitoring.cfg"}}) {
        SCOPED_TRACE(c.file);
        c.box->setChecked(true);
        EXPECT_EQ(readFile(c.file), " 1\r\n");
        c.box->setChecked(false);
        EXPECT_EQ(readFile(c.file), " 0\r\n");
    }
    EXPECT_FALSE(G_MonitoringOn);
    page->chkKanalbuendelung->setChecked(true);
    EXPECT_TRUE(G_ChannelBundling);
    ticks(60); // the second unit is charged on two channels
    EXPECT_EQ(page->lblKosten->text(), "0,057 €");

    // the engine's fills do not run the handlers a second time
    G_MonitoringOn = true;
    page->Form_Activate();
    EXPECT_TRUE(page->Check2->isChecked());
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 1\r\n");
    G_NoMonitoringAccess = true;
    page->Form_Activate();
    EXPECT_FALSE(page->Check2->isEnabled());
    EXPECT_FALSE(page->cmdStop->isEnabled());
    page->cmdStop_Click();
    EXPECT_TRUE(G_Recording);

    EXPECT_TRUE(HasLinkLook(page->Label1));
    EXPECT_EQ(page->Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(page->Label1->cursor().shape(), Qt::UpArrowCursor);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("http", &catcher, "open");
    auto click = [](QLabel* label) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(label, &release);
    };
    click(page->lblProgrammupdates);
    EXPECT_TRUE(catcher.opened.isEmpty());
    page->lblProgrammupdates->setText("Neues Update verfügbar.");
    SetLinkLook(page->lblProgrammupdates, true);
    click(page->lblProgrammupdates);
    QDesktopServices::unsetUrlHandler("http");
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].toString(), "http://www.zumbrel.de/zumbrel_updates.htm");
    EXPECT_EQ(page->lblProgrammupdates->cursor().shape(), Qt::UpArrowCursor);
    SetLinkLook(page->lblProgrammupdates, false);
    EXPECT_EQ(page->lblProgrammupdates->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(page->lblProgrammupdates->cursor().shape(), Qt::ArrowCursor);
}

// While the page waits (a question, the time service) the ticks run on and may end the recording;
// the page is torn down only once its handler has returned, and nothing is stored twice.
TEST_F(CounterPageTest, WaitsLetTheTicksRunAndTheStopComesOnce)
{
    WaitingDialogs waiting;
    SetDialogHandler(&waiting);
    Connection* page = start();
    ASSERT_NE(page, nullptr);
    G_DetectSource = 3; // as if detection had started it: the stop asks first
    waiting.answerMessage(vbYes);
    waiting.during = [&] {
        sim.addresses.list.clear(); // the link is gone: the next tick ends the recording
        ticks(1);
        spin(30);
    };
    page->cmdStop_Click();
    EXPECT_EQ(waiting.texts().size(), 1);
    EXPECT_EQ(records().size(), 1);
    // the recording had ended by itself: the answer switches nothing off
    EXPECT_TRUE(G_MonitoringOn);
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 1\r\n");
    spin(30);
    EXPECT_EQ(form->counterPage(), nullptr);

    SlowDownloader slow;
    SetDownloader(&slow);
    waiting.during = nullptr;
    G_DetectSource = 0;
    G_Tariff = tariff;
    page = start();
    ASSERT_NE(page, nullptr);
    QPointer<Connection> guard(page);
    slow.during = [&] {
        page->Label1_Click(); // a second click while the first waits is no second synchronisation
        page->cmdStop_Click();
        spin(30);
        EXPECT_TRUE(guard);
    };
    page->Label1_Click();
    SetDownloader(nullptr);
    EXPECT_EQ(slow.calls, 1);
    ASSERT_TRUE(guard);
    EXPECT_EQ(page->lblTimeSync->text(), "Die Uhrzeit konnte nicht gestellt werden.");
    spin(30);
    EXPECT_FALSE(guard);
    EXPECT_EQ(records().size(), 2);
    SetDialogHandler(&dialogs);
}

#include "ConnectionPageTest.moc"

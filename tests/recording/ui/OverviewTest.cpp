#include "core/Detection.h"
#include "core/Dialing.h"
#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "core/ui/Status.h"
#include "core/ui/WindowUtils.h"
#include "recording/OverviewFiles.h"
#include "recording/ui/Form1.h"
#include "recording/ui/Overview.h"
#include "support/BudgetRecordBuilder.h"
#include "support/ReplaceCounter.h"
#include "support/SimPlatform.h"
#include "support/ui/WidgetHelpers.h"
#include "tariffs/TarifFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>

namespace {
// Answers like ScriptedDialogs, and runs `during` while a box is open (the loop runs other work then).
class InterruptingDialogs : public ScriptedDialogs {
public:
    std::function<void()> during;
    QString inputBox(const InputRequest& request) override
    {
        if (during) std::exchange(during, nullptr)();
        return ScriptedDialogs::inputBox(request);
    }
};

class OverviewTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        SetDialogHandler(&script);
        G_Currency = QStringLiteral("€");
        oldStart = SetDialStartWait(0);
    }
    void TearDown() override
    {
        delete Form1::instance();
        UnloadDialProgressWindow();
        flush();
        SetDialStartWait(oldStart);
        ProgramTest::TearDown();
    }
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void spin(int ms = 5)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        flush();
    }
    // Each character as a key pressed and released on the widget that has the focus.
    static void pressKeys(const QString& text)
    {
        for (QChar c : text) {
            const int key = c.isLetterOrNumber() ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, key, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(QApplication::focusWidget(), &event);
            }
        }
    }
    Overview* load()
    {
        form = Form1::instance();
        form->Form_Load();
        return form->overviewPage();
    }
    void writeTariff(const QString& provider, const QString& name, float cents, const QString& ext = ".tel")
    {
        TarifFile t = TarifFile::New(provider, name);
        t.zones = {{0, 24, cents, false}};
        ASSERT_TRUE(WriteTarifFile(t));
        if (ext != ".tel") {
            ASSERT_TRUE(
                QFile::rename(path("Tarife/" + t.fileName()), path("Tarife/" + provider + " - " + name + ext)));
        }
    }
    void writeUser(const QString& name, const QString& password)
    {
        writeCipher("Benutzer/" + name + ".usr", {"0", "0", "0", "0", "0", "0", "0", "60", password, "0", "600"});
        ASSERT_TRUE(WriteTestBudget(path("Benutzer/" + name + ".bdg"), " 0", " 0", " 0"));
    }

    InterruptingDialogs script;
    SimPlatform sim;
    Form1* form = nullptr;
    int oldStart = 0;
};
} // namespace

TEST_F(OverviewTest, LoadTakesTheEntrysAssignmentAndWritesItsChoicesOnce)
{
    writeTariff("P", "T", 1.9f, ".atl");
    writeTariff("X", "Y", 5.0f);
    writeTariff("X", "Z", 6.0f);
    sim.phoneBook.addEntry("Anderer");
    sim.phoneBook.addEntry("ISP");
    writeFile("DialUp/ISP.trf", "P\r\nA - T\r\n");
    writeFile("DialUp/Anderer.trf", "[Keine Zuordnung]\r\n[Keine Zuordnung]\r\n");
    writeFile("Config/Overview.cfg", "ISP\r\nSupervisor\r\nX\r\nM - Z\r\n");
    ReplaceCounter writes(path("Config"));

    ASSERT_TRUE(SaveOverviewChoices({true, "ISP", "Supervisor", "X", "M - Z"}));
    EXPECT_EQ(writes.count("Overview.cfg"), 1);
    Overview* page = load();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(IsFormLoaded("Overview"));
    EXPECT_EQ(page->comDFUE->currentText(), "ISP");
    EXPECT_EQ(page->comAnbieter->currentText(), "P");
    EXPECT_EQ(page->comTarif->currentText(), "A - T");
    EXPECT_EQ(G_Tariff, "P - T.atl");
    EXPECT_EQ(page->lblOverview[0]->text(), "0,019 € pro Minute");
    EXPECT_EQ(page->lblOverview[10]->text(), "ISP (0,019 €)");
    EXPECT_EQ(page->Label1_36->text(), "Verbleibende kostenfreie Zeit:");
    EXPECT_EQ(page->lblOverview[1]->text(), "Keine");
    EXPECT_EQ(page->lblOverview[1]->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_FALSE(page->barOverview[1]->isVisible());
    EXPECT_EQ(G_FreeAllowanceLeft, "-");
    EXPECT_EQ(G_ActiveUser, "Supervisor");
    EXPECT_EQ(form->lblStatus[2]->text(), "Aktiver Benutzer: Supervisor");
    EXPECT_TRUE(page->Check1->isChecked());
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 1\r\n");
    EXPECT_EQ(readFile("Config/Overview.cfg"), "ISP\r\nSupervisor\r\nP\r\nA - T\r\n");
    EXPECT_EQ(writes.count("Overview.cfg"), 2);
    EXPECT_EQ(form->Label1[0]->text(), "Übersicht");
    EXPECT_TRUE(script.messages.isEmpty());

    // a choice is stored at once; the provider refills the tariffs and prices the first
    page->comAnbieter->setCurrentIndex(page->comAnbieter->findText("X"));
    EXPECT_EQ(page->comTarif->currentText(), "M - Y");
    EXPECT_EQ(G_Tariff, "X - Y.tel");
    EXPECT_EQ(page->lblOverview[0]->text(), "0,050 € pro Minute");
    EXPECT_EQ(readFile("Config/Overview.cfg"), "ISP\r\nSupervisor\r\nX\r\nM - Y\r\n");

    // the next hour re-prices the tariff through the main window's tick
    writeTariff("X", "Y", 2.5f);
    clock.advance(3600);
    form->detection.OnlineCheck_Timer();
    EXPECT_EQ(page->lblOverview[0]->text(), "0,025 € pro Minute");
}

TEST_F(OverviewTest, TariffUnitAndHolidayPrice)
{
    writeFile("Tarife/V - Vol.tel", "[Providerdaten]\r\nVolumenabrechnung:Ja\r\nVolumenkosten:1,5\r\n"
                                    "Volumeneinheit:1\r\n\r\n[Tarifzonen]\r\n");
    writeFile("Tarife/W - Halb.tel", "volumenabrechnung:JA\r\nVolumenkosten:1\r\nVolumeneinheit:0,5\r\n");
    writeFile("Tarife/W - Kurz.tel", "Volumenabrechnung:Ja\r\nVolumenkosten:1\r\n");
    writeFile("Tarife/W - Exp.tel", "Volumenabrechnung:Ja\r\nVolumenkosten:1\r\nVolumeneinheit:2,5E+01\r\n");
    const std::pair<const char*, const char*> units[] = {{"V - Vol.tel", "1MB"},
                                                         {"W - Halb.tel", "0,5MB"},
                                                         {"W - Kurz.tel", "Minute"},
                                                         {"Fehlt.tel", "Minute"},
                                                         {"W - Exp.tel", "25MB"}};
    for (auto [file, unit] : units) EXPECT_EQ(GetTarifUnit(file), unit) << file;

    Overview* page = load();
    EXPECT_EQ(page->comTarif->currentText(), "M - Vol");
    EXPECT_EQ(page->lblOverview[0]->text(), "0,015 € pro 1MB");
    page->chkFeiertag->setChecked(true);
    EXPECT_TRUE(G_Holiday);
    EXPECT_EQ(page->lblOverview[0]->text(), "0,015 € pro Minute");
    EXPECT_EQ(G_Tariff, "V - Vol.tel");
}

TEST_F(OverviewTest, NoteKeepsItsLinesAndRefusesCharactersOutsideTheCodePage)
{
    writeFile("Note.dat", "\r\n\r\nx\r\n");
    Overview* page = load();
    EXPECT_EQ(page->Notiz->toPlainText(), "\n\nx");
    EXPECT_EQ(readFile("Note.dat"), "\r\n\r\nx\r\n"); // loading stores nothing
    page->Notiz_Change();
    page->SaveNote();
    EXPECT_EQ(readFile("Note.dat"), "\r\n\r\nx\r\n");
    page->Notiz->setPlainText("ä€\n\ny");
    page->SaveNote();
    EXPECT_EQ(readFile("Note.dat"), "\xe4\x80\r\n\r\ny\r\n");

    // refused while its write waits: the last note that can be stored still reaches the file
    page->Notiz->setPlainText("ok");
    page->Notiz->setPlainText("a→b");
    page->Notiz->setPlainText("a→bc");
    page->SaveNote();
    EXPECT_EQ(readFile("Note.dat"), "ok\r\n");
    EXPECT_EQ(script.texts(), QStringList{NOTE_NOT_STORED});
}

TEST_F(OverviewTest, NoteKeepsACarriageReturnBeforeALineEnd)
{
    const QByteArray stored = "Zeile\r\r\nzwei\rdrei\r\n\r\r\n";
    writeFile("Note.dat", stored);
    Overview* page = load();
    EXPECT_EQ(page->Notiz->toPlainText(), "Zeile␍\nzwei␍drei\n␍"); // shown, as the page cannot hold a CR
    page->Notiz_Change();
    page->SaveNote();
    EXPECT_EQ(readFile("Note.dat"), stored);
    // typed after the stored lines: the rest of the note stays as it was
    QTextCursor end = page->Notiz->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText("neu");
    page->SaveNote();
    EXPECT_EQ(readFile("Note.dat"), stored.chopped(2) + "neu\r\n");
}

// Typed keys reach the disk at most once each half second, and at once when the page or the program goes.
TEST_F(OverviewTest, TypingWritesTheNoteOncePerIntervalAndWhenThePageOrTheProgramGoes)
{
    writeFile("Note.dat", "alt\r\n");
    ReplaceCounter writes(dir.path());
    Overview* page = load();
    form->show();
    QApplication::setActiveWindow(form);
    page->Notiz->setFocus();
    page->Notiz->moveCursor(QTextCursor::End);
    const QString typed = " Tarif ab Mai: 1,9ct"; // 20 keys in one go
    ASSERT_EQ(typed.size(), 20);
    pressKeys(typed);
    EXPECT_EQ(page->Notiz->toPlainText(), "alt" + typed);
    EXPECT_EQ(writes.count("Note.dat"), 0);
    spin(NoteSaver::INTERVAL_MS + 100);
    EXPECT_EQ(writes.count("Note.dat"), 1);
    EXPECT_EQ(readFile("Note.dat"), "alt" + typed.toLatin1() + "\r\n");

    // whatever came after the last write is written when the page goes, the program ends or the window closes
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"page unloaded",
         [&] {
             form->HideWindows();
             flush();
             EXPECT_EQ(form->overviewPage(), nullptr);
         }},
        {"program ends",
         [] { QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection); }},
        {"main window closed", [&] { EXPECT_TRUE(form->close()); }},
    };
    QByteArray note = "alt" + typed.toLatin1();
    int written = 1;
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        if (!form->overviewPage()) form->showOverview();
        form->overviewPage()->Notiz->setFocus();
        form->overviewPage()->Notiz->moveCursor(QTextCursor::End);
        pressKeys("!");
        note += "!";
        end();
        EXPECT_EQ(writes.count("Note.dat"), ++written);
        EXPECT_EQ(readFile("Note.dat"), note + "\r\n");
    }
    spin(NoteSaver::INTERVAL_MS + 100);
    EXPECT_EQ(writes.count("Note.dat"), written); // nothing was left to write
}

// Tab and Shift+Tab leave the note as they leave every other box; no tab is typed into it.
TEST_F(OverviewTest, TabInTheNoteMovesTheFocusOn)
{
    Overview* page = load();
    form->show();
    QApplication::setActiveWindow(form);
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        page->Notiz->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), page->Notiz);
        QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier,
                        key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
        QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
        EXPECT_NE(QApplication::focusWidget(), page->Notiz) << key;
        EXPECT_EQ(page->Notiz->toPlainText(), "") << key;
    }
    page->SaveNote();
    EXPECT_FALSE(exists("Note.dat"));
}

TEST_F(OverviewTest, ManualStartWithoutTariffIsRefused)
{
    Overview* page = load();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->comTarif->count(), 0);
    EXPECT_TRUE(page->Check1->isChecked());
    page->cmdStart_Click();
    flush();
    EXPECT_EQ(script.texts(), QStringList{"Kein Tarif ausgewählt! Wählen Sie zuerst einen Tarif aus, bevor Sie die "
                                          "Verbindung starten."});
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 0\r\n");
    EXPECT_FALSE(G_MonitoringOn);
    EXPECT_EQ(form->overviewPage(), page);
    EXPECT_FALSE(page->Check1->isChecked());
    EXPECT_FALSE(IsFormLoaded("Connection"));
    EXPECT_EQ(form->counterPage(), nullptr);
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(G_DetectSource, 0);

    // the tray's detection item sets the page's box, whose handler stores it
    form->storeMonitoring(true);
    EXPECT_TRUE(page->Check1->isChecked());
    EXPECT_EQ(readFile("Config/Monitoring.cfg"), " 1\r\n");
}

TEST_F(OverviewTest, RefusedPasswordReturnsToTheUserShownBefore)
{
    writeUser("A", "a");
    writeUser("B", "");
    writeUser("C", "geheim");
    Overview* page = load();
    QComboBox* users = page->comOverviewUser;
    ASSERT_EQ(users->count(), 4);
    ASSERT_TRUE(page->isVisible());

    script.answerInput("a");
    users->setCurrentIndex(users->findText("A"));
    ASSERT_EQ(script.inputs.size(), 1);
    EXPECT_EQ(script.inputs[0].prompt, "Bitte geben Sie das Passwort für diesen Benutzer ein.");
    EXPECT_EQ(script.inputs[0].title, "Passwortabfrage");
    EXPECT_TRUE(script.inputs[0].masked);
    EXPECT_EQ(G_ActiveUser, "A");

    users->setCurrentIndex(users->findText("B")); // no password: nothing asked
    EXPECT_EQ(script.inputs.size(), 1);
    EXPECT_EQ(G_ActiveUser, "B");

    // the wrong case, then Cancel: B stays shown and active each time
    for (const QString& answer : {QString("Geheim"), QString()}) {
        script.messages.clear();
        script.answerInput(answer);
        users->setCurrentIndex(users->findText("C"));
        EXPECT_EQ(script.texts(), answer.isEmpty() ? QStringList{} : QStringList{"Falsches Passwort!"});
        if (!answer.isEmpty()) {
            EXPECT_EQ(script.messages[0].icon(), vbCritical);
        }
        EXPECT_EQ(users->currentText(), "B");
        EXPECT_EQ(G_ActiveUser, "B");
        EXPECT_EQ(form->Tag, "B");
        EXPECT_EQ(form->lblStatus[2]->text(), "Aktiver Benutzer: B");
        EXPECT_EQ(readFile("Config/Overview.cfg").split('\n').value(1), "B\r");
    }
    EXPECT_EQ(script.inputs.size(), 3);

    // returning to B skipped the question for B only: A is asked again
    users->setCurrentIndex(users->findText("A"));
    EXPECT_EQ(script.inputs.size(), 4);
    EXPECT_EQ(users->currentText(), "B");

    // a user whose record went missing is not taken, without a message
    writeUser("D", "");
    QFile::remove(path("Benutzer/C.usr"));
    script.messages.clear();
    users->setCurrentIndex(users->findText("C"));
    EXPECT_EQ(G_ActiveUser, "B");
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(OverviewTest, BudgetLabelsAndDialRefusals)
{
    clock.set(QDateTime(QDate(2001, 1, 15), QTime(12, 0, 0)));
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Supervisor.bdg"), " 5", " 0", " 0"));
    writeCipher("Benutzer/Supervisor.usr", {"0", "0", "0", "0", "1", "0", "0", "60", "", "0", "600"});
    for (const char* name : {"15012001-080000.con", "15012001-090000.con"}) {
        TestRecord r;
        r.name = name;
        r.cost = "2,50";
        r.user = "Supervisor";
        ASSERT_TRUE(WriteTestRecord(dir.path(), r));
    }
    sim.phoneBook.addEntry("ISP");
    Overview* page = load();
    EXPECT_TRUE(G_NoDialOverBudget);
    EXPECT_EQ(page->lblOverview[2]->text(), "0,00 €");
    EXPECT_EQ(page->lblOverview[2]->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(page->lblOverview[6]->text(), "0,0%");
    EXPECT_EQ(page->lblOverview[7]->text(), "nicht festgelegt");
    EXPECT_EQ(page->lblOverview[8]->text(), "nicht festgelegt");
    EXPECT_EQ(page->lblOverview[5]->text(), "Zeitraum: 01.01.2001 - 31.01.2001");
    EXPECT_EQ(page->lblOverview[10]->text(), "unbekannt (keine Tarife zugewiesen)");
    EXPECT_TRUE(page->IsBudgetExceeded());
    EXPECT_TRUE(form->isBudgetExceeded());

    page->Command1_Click();
    EXPECT_EQ(script.texts(), QStringList{DIAL_OVER_BUDGET});
    EXPECT_EQ(script.messages[0].icon(), vbInformation);
    EXPECT_TRUE(sim.phoneBook.dialCalls.isEmpty());
    EXPECT_FALSE(G_DialedHere);

    // the page answers from what it shows; closed, the tray's question creates no page
    ASSERT_TRUE(WriteTestBudget(path("Benutzer/Supervisor.bdg"), " 0", " 0", " 0"));
    EXPECT_TRUE(form->isBudgetExceeded());
    form->HideWindows();
    flush();
    EXPECT_FALSE(form->isBudgetExceeded());
    EXPECT_FALSE(IsFormLoaded("Overview"));

    // no budgets: every line "nicht festgelegt"; a cancelled password of the entry dials nothing
    page = form->overviewPage() ? form->overviewPage() : (form->showOverview(), form->overviewPage());
    for (int i : {6, 7, 8}) EXPECT_EQ(page->lblOverview[i]->text(), "nicht festgelegt") << i;
    EXPECT_FALSE(page->IsBudgetExceeded());
    script.messages.clear();
    script.answerInput("");
    page->Command1_Click();
    EXPECT_EQ(script.inputs.size(), 1);
    EXPECT_FALSE(G_DialedHere);
    EXPECT_FALSE(IsFormLoaded("Status"));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(OverviewTest, PageReplacedWhileItWaits)
{
    writeTariff("Net", "Tag", 1.9f);
    writeUser("C", "geheim");
    sim.phoneBook.addEntry("ISP", {}, true);
    Overview* page = load();
    ASSERT_TRUE(G_MonitoringOn);

    // detection starts a recording during the modal dial: the counter page takes the page's place
    QTimer::singleShot(5, [&] {
        sim.connected.currentFlags = INTERNET_CONNECTION_MODEM;
        sim.phoneBook.addConnection(0x300, "ISP");
        form->detection.OnlineCheck_Timer();
        if (Status* status = StatusWindow()) status->close();
    });
    page->Command1_Click();
    flush();
    EXPECT_TRUE(G_DialedHere);
    EXPECT_TRUE(G_Recording);
    EXPECT_EQ(form->overviewPage(), nullptr);
    EXPECT_EQ(sim.phoneBook.dialCalls.size(), 1);
    form->counterPage()->Counter_Stop();
    spin();
    page = form->overviewPage();
    ASSERT_NE(page, nullptr);

    // the page goes while its password question is open: the answer is dropped
    script.during = [&] {
        form->HideWindows();
        flush();
    };
    script.answerInput("geheim");
    page->comOverviewUser->setCurrentIndex(page->comOverviewUser->findText("C"));
    flush();
    EXPECT_EQ(form->overviewPage(), nullptr);
    EXPECT_EQ(G_ActiveUser, "Supervisor");
}

TEST_F(OverviewTest, LoadGivesTheChoicesAndTheNoteTheFlatLook)
{
    Overview* page = load();
    ASSERT_TRUE(page);
    EXPECT_EQ(FlatDecorated(page), QStringList({"comOverviewUser", "comAnbieter", "comTarif", "comDFÜ", "Notiz"}));
}

// The free-time bar giving way to "Keine" moves nothing: a click aimed at the start button still hits it.
TEST_F(OverviewTest, ControlsKeepTheirPlacesWhateverTheFreeTime)
{
    TarifFile t = TarifFile::New("P", "Frei");
    t.zones = {{0, 24, 1.9f, false}};
    t.freeAllowance = "30";
    ASSERT_TRUE(WriteTarifFile(t));
    writeTariff("P", "Ohne", 1.9f);
    Overview* page = load();
    ASSERT_NE(page, nullptr);
    form->show();
    const auto places = [&] {
        QCoreApplication::processEvents();
        QList<QPoint> at;
        const QWidget* below[] = {page->comAnbieter, page->comTarif,    page->Label1_36, page->lblOverview[1],
                                  page->chkFeiertag, page->cmdStart,    page->Command1,  page->Check1,
                                  page->Label2[2]};
        for (const QWidget* w : below) at << w->mapTo(form, QPoint(0, 0));
        return at;
    };
    page->comAnbieter->setCurrentIndex(page->comAnbieter->findText("P"));
    page->comTarif->setCurrentIndex(page->comTarif->findText("M - Frei"));
    ASSERT_TRUE(page->barOverview[1]->isVisible());
    const QList<QPoint> withBar = places();
    page->comTarif->setCurrentIndex(page->comTarif->findText("M - Ohne"));
    ASSERT_EQ(page->lblOverview[1]->text(), "Keine");
    EXPECT_EQ(places(), withBar);
}

// The end of the desktop session (SIGTERM, SIGHUP) and the program's own close while a box, a dialog or a
// wait is open. The whole program runs in a child process as its main() runs it, with real boxes; the
// signal is raised from inside the open window's own event loop.
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/TextFile.h"
#include "core/platform/Downloader.h"
#include "core/platform/linux/QtDownloader.h"
#include "core/ui/TrayMenu.h"
#include "records/ui/List.h"
#include "recording/ConnectionRecord.h"
#include "recording/RunningRecord.h"
#include "recording/ui/Form1.h"
#include "recording/ui/Startup.h"
#include "support/LoopbackServer.h"
#include "support/SimPlatform.h"
#include "tariffs/TarifFile.h"
#include "tariffs/ui/Tarife.h"
#include "users/UserRecord.h"
#include "users/ui/ConnectionCheck.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {
const char* const CASE_ENV = "ZUMBREL_SESSION_END_CASE";

// The downloads the child made, and whether each one said it had its file.
struct CountingDownloader : Downloader {
    bool isAvailable() const override { return true; }
    bool download(const QString& url, const QString& localFile) override
    {
        const bool ok = real.download(url, localFile);
        results << ok;
        return ok;
    }
    QtDownloader real;
    QList<bool> results;
};

// Answers the close question with "Ja" once it is open.
void answerYesToTheCloseQuestion()
{
    QTimer::singleShot(300, qApp, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->text().contains("aufgezeichnet")) return answerYesToTheCloseQuestion();
        for (QAbstractButton* b : box->buttons())
            if (b->property("answer").toInt() == vbYes) b->click();
    });
}

struct EndCase {
    const char* name;
    const char* page; // opened first; empty for none
    std::function<void(QWidget* page)> open; // runs the window's own event loop until the program ends
    int signal = SIGTERM; // 0: the tray's "Beenden", the question answered with "Ja"
    bool restricted = false; // Supervisor may not close the program
    bool saveFails = false;  // a folder in Verbindungen holds the record's name
    int ignoredAtStart = 0;     // SIGINT as a script's background job starts it, SIGHUP as nohup does
    const char* openBox = "";   // the box open when the end comes
    int afterRun = 0;           // raised once the run has returned, while the program ends
};

void closeMainWindow(QWidget*) { Form1::instance()->close(); }

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Set when the program still runs after a signal ignored from its start.
bool g_ranOnAfterIgnored = false;

// Raises the signal that the program was started with ignored, then looks whether it runs on.
std::function<void(QWidget*)> raiseIgnored(int signal)
{
    return [signal](QWidget*) {
        QTimer::singleShot(500, qApp, [signal] { ::raise(signal); });
        QTimer::singleShot(1000, qApp, [] { g_ranOnAfterIgnored = Form1::exists() && G_Recording; });
    };
}

const QList<EndCase>& endCases()
{
    static const QList<EndCase> cases = {
        {"Hinweise", "ConnectionCheck", [](QWidget* p) { static_cast<ConnectionCheck*>(p)->Command1_Click(); }},
        {"Erstellen", "List", [](QWidget* p) { static_cast<List*>(p)->Image1_Click(0); }},
        {"Drucken", "List", [](QWidget* p) { static_cast<List*>(p)->Image1_Click(3); }},
        {"Zeitraum", "List", [](QWidget* p) { static_cast<List*>(p)->Label3_Click(); }},
        {"InputBox", "", [](QWidget*) { InputBox("Bitte geben Sie das Passwort ein.", QString(), QString(), true); }},
        {"jetzt pruefen", "Tarife", [](QWidget* p) { static_cast<Tarife*>(p)->lblLink_Click(); }},
        {"Beenden bei Erstellen", "List", [](QWidget* p) { static_cast<List*>(p)->Image1_Click(0); }, 0},
        // the waiting page is left for another while its check waits: it goes once its call has returned
        {"jetzt pruefen, Seite verlassen", "Tarife",
         [](QWidget* p) {
             QTimer::singleShot(700, qApp, [] { Form1::instance()->Image1_Click(1); });
             static_cast<Tarife*>(p)->lblLink_Click();
         }},
        // the close asks and waits for its answer when the session ends
        {"Beenden-Frage", "", closeMainWindow, SIGTERM, false, false, false, "aufgezeichnet"},
        {"Beenden nicht erlaubt", "", closeMainWindow, SIGTERM, true, false, false, "kann nicht beendet werden"},
        {"SIGHUP", "", [](QWidget*) {}, SIGHUP},
        {"Strg+C", "", [](QWidget*) {}, SIGINT},
        {"Strg+C ignoriert", "", raiseIgnored(SIGINT), SIGTERM, false, false, SIGINT},
        {"SIGHUP ignoriert", "", raiseIgnored(SIGHUP), SIGTERM, false, false, SIGHUP},
        // the end has begun: a second ending signal ends nothing more
        {"SIGTERM am Ende", "", [](QWidget*) {}, SIGTERM, false, false, 0, "", SIGTERM},
        {"SIGHUP am Ende", "", [](QWidget*) {}, SIGHUP, false, false, 0, "", SIGHUP},
        {"Beenden, dann SIGHUP", "", [](QWidget*) {}, 0, false, false, 0, "", SIGHUP},
        {"Speichern scheitert", "", [](QWidget*) {}, SIGTERM, false, true},
    };
    return cases;
}

// The child's run: a recording started by hand, the case's window opened over it, the end from inside.
void RunCase(const EndCase& c)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SetProgramFolder(dir.path());
    SetInstallationFolder(dir.path());
    ResetGlobals();
    SimPlatform platform;
    LoopbackServer silent{QByteArray()}; // accepts and never answers
    CountingDownloader downloads;
    SetDownloader(&downloads);
    ASSERT_TRUE(WriteTextLines(ProgramPath("Servers.dat"), {silent.url(""), silent.url("")}));
    TarifFile t = TarifFile::New("Net", "Tag");
    t.zones = {{0, 24, 1.9f, false}, {0, 24, 1.9f, true}};
    ASSERT_TRUE(WriteTarifFile(t));
    if (c.restricted) {
        UserRecord restricted;
        restricted.noListEdit = 1;
        ASSERT_TRUE(SaveUser("Supervisor", restricted));
    }
    QByteArray runningAtTheEnd;

    QTimer::singleShot(500, qApp, [&] {
        Form1* form = Form1::instance();
        ASSERT_EQ(form->cannotQuit(), c.restricted);
        G_Tariff = t.fileName();
        G_ActiveUser = "Supervisor";
        G_DetectSource = 0;
        form->StartConnection();
        ASSERT_TRUE(G_Recording);
        if (c.saveFails) {
            const CounterEngine& e = form->counterPage()->engine();
            const QString name = RecordFileNameOf(e.lblStartzeitTag, e.lblStartzeit);
            ASSERT_FALSE(name.isEmpty());
            ASSERT_TRUE(QDir().mkpath(ProgramPath("Verbindungen/" + name)));
        }
        QWidget* page = QString(c.page).isEmpty() ? nullptr : form->showPage(c.page);
        if (c.signal) {
            QTimer::singleShot(1500, qApp, [&] {
                runningAtTheEnd = bytesOf(ProgramPath(RUNNING_RECORD_FILE));
                if (*c.openBox) {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    ASSERT_NE(box, nullptr);
                    EXPECT_TRUE(box->text().contains(c.openBox)) << box->text().toStdString();
                }
                ::raise(c.signal);
            });
        } else {
            QTimer::singleShot(1500, qApp, [] { RunTrayCommand(TRAY_QUIT, {}, *Form1::instance()); });
            answerYesToTheCloseQuestion();
        }
        c.open(page);
    });
    EXPECT_EQ(RunZumbrel(*qApp, dir.path() + "/instance.lock"), 0);
    if (c.afterRun) ::raise(c.afterRun);
    EXPECT_FALSE(Form1::exists());
    EXPECT_FALSE(G_Recording);
    EXPECT_EQ(g_ranOnAfterIgnored, c.ignoredAtStart != 0);
    // a wait that the end cut off is no download
    EXPECT_FALSE(downloads.results.contains(true));
    SetDownloader(nullptr);
    const QStringList records = ListRecordFiles();
    if (c.saveFails) {
        // the last minute the counter stored is there for the next start
        EXPECT_EQ(records, QStringList());
        ASSERT_FALSE(runningAtTheEnd.isEmpty());
        QStringList keeping;
        for (const QString& name : QDir(ProgramPath("Config")).entryList({"Recording.run*"}, QDir::Files))
            if (bytesOf(ProgramPath("Config/" + name)) == runningAtTheEnd) keeping << name;
        EXPECT_EQ(keeping.size(), 1);
        return;
    }
    ASSERT_EQ(records.size(), 1);
    RecordLines r;
    ASSERT_TRUE(ReadRecord(records[0], r));
    EXPECT_EQ(r.line(10), "Net - Tag.tel");
    EXPECT_EQ(r.line(11), "Supervisor");
}
} // namespace

TEST(SessionEnd, WhateverIsOpenTheRecordingIsStoredAndTheProgramEndsCleanly)
{
    const QString inside = qEnvironmentVariable(CASE_ENV);
    if (!inside.isEmpty()) {
        for (const EndCase& c : endCases())
            if (inside == QLatin1String(c.name)) return RunCase(c);
        FAIL() << "no case " << inside.toStdString();
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString self = QString::fromUtf8(test->test_suite_name()) + "." + test->name();
    for (const EndCase& c : endCases()) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(CASE_ENV, c.name);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        // whatever this run inherited: Ctrl+C and the hang-up reach the program, or one is ignored from its start
        const int ignored = c.ignoredAtStart;
        child.setChildProcessModifier([ignored] {
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGHUP, SIG_DFL);
            if (ignored) ::signal(ignored, SIG_IGN);
        });
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + self});
        ASSERT_TRUE(child.waitForStarted()) << c.name;
        // a program left waiting for a person fails its case instead of holding the suite
        const bool finished = child.waitForFinished(60000);
        if (!finished) {
            child.kill();
            child.waitForFinished();
        }
        const QByteArray output = child.readAll();
        EXPECT_TRUE(finished) << c.name << "\n" << output.constData();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << c.name << "\n" << output.constData();
        EXPECT_EQ(child.exitCode(), 0) << c.name << "\n" << output.constData();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << c.name << "\n" << output.constData();
        // nobody is there to answer: the failed save is told on standard error
        EXPECT_EQ(output.contains("Fehler beim speichern der Verbindungsdaten aufgetreten. Subcode 2."), c.saveFails)
            << c.name << "\n" << output.constData();
    }
}

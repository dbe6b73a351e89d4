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
#include "recording/ui/Form1.h"
#include "recording/ui/Startup.h"
#include "support/LoopbackServer.h"
#include "support/SimPlatform.h"
#include "tariffs/TarifFile.h"
#include "tariffs/ui/Tarife.h"
#include "users/ui/ConnectionCheck.h"

#include <QAbstractButton>
#include <QApplication>
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
    bool bySignal = true; // else the tray's "Beenden", the question answered with "Ja"
};

const QList<EndCase>& endCases()
{
    static const QList<EndCase> cases = {
        {"Hinweise", "ConnectionCheck", [](QWidget* p) { static_cast<ConnectionCheck*>(p)->Command1_Click(); }},
        {"Erstellen", "List", [](QWidget* p) { static_cast<List*>(p)->Image1_Click(0); }},
        {"Drucken", "List", [](QWidget* p) { static_cast<List*>(p)->Image1_Click(3); }},
        {"Zeitraum", "List", [](QWidget* p) { static_cast<List*>(p)->Label3_Click(); }},
        {"InputBox", "", [](QWidget*) { InputBox("Bitte geben Sie das Passwort ein.", QString(), QString(), true); }},
        {"jetzt pruefen", "Tarife", [](QWidget* p) { static_cast<Tarife*>(p)->lblLink_Click(); }},
        {"Beenden bei Erstellen", "List", [](QWidget* p) { static_cast<List*>(p)->Image1_Click(0); }, false},
        // the waiting page is left for another while its check waits: it goes once its call has returned
        {"jetzt pruefen, Seite verlassen", "Tarife",
         [](QWidget* p) {
             QTimer::singleShot(700, qApp, [] { Form1::instance()->Image1_Click(1); });
             static_cast<Tarife*>(p)->lblLink_Click();
         }},
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

    QTimer::singleShot(500, qApp, [&] {
        Form1* form = Form1::instance();
        G_Tariff = t.fileName();
        G_ActiveUser = "Supervisor";
        G_DetectSource = 0;
        form->StartConnection();
        ASSERT_TRUE(G_Recording);
        QWidget* page = QString(c.page).isEmpty() ? nullptr : form->showPage(c.page);
        if (c.bySignal) {
            QTimer::singleShot(1500, qApp, [] { ::raise(SIGTERM); });
        } else {
            QTimer::singleShot(1500, qApp, [] { RunTrayCommand(TRAY_QUIT, {}, *Form1::instance()); });
            answerYesToTheCloseQuestion();
        }
        c.open(page);
    });
    EXPECT_EQ(RunZumbrel(*qApp, dir.path() + "/instance.lock"), 0);
    EXPECT_FALSE(Form1::exists());
    EXPECT_FALSE(G_Recording);
    const QStringList records = ListRecordFiles();
    ASSERT_EQ(records.size(), 1);
    RecordLines r;
    ASSERT_TRUE(ReadRecord(records[0], r));
    EXPECT_EQ(r.line(10), "Net - Tag.tel");
    EXPECT_EQ(r.line(11), "Supervisor");
    // a wait that the end cut off is no download
    EXPECT_FALSE(downloads.results.contains(true));
    SetDownloader(nullptr);
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
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + self});
        ASSERT_TRUE(child.waitForStarted()) << c.name;
        const bool finished = child.waitForFinished(120000);
        const QByteArray output = child.readAll();
        EXPECT_TRUE(finished) << c.name;
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << c.name << "\n" << output.constData();
        EXPECT_EQ(child.exitCode(), 0) << c.name << "\n" << output.constData();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << c.name << "\n" << output.constData();
        if (!finished) child.kill();
    }
}

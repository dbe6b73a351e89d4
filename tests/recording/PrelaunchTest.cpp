#include "core/Globals.h"
#include "core/RecordFiles.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"
#include "recording/ui/Startup.h"
#include "recording/Prelaunch.h"
#include "recording/RunningRecord.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTimer>

class PrelaunchTest : public ProgramTest {
protected:
    // What a recording that ran for two minutes left behind.
    static void runningRecording()
    {
        ConnectionDisplay d;
        d.startDateTag = "17012001";
        d.startTime = "11:58:00";
        d.duration = "00:02:01";
        d.cost = "0,057 €";
        d.units = "3 (60s)";
        d.connectionName = "Netz";
        d.tariff = "Net - Tag.tel";
        d.user = "Anna";
        ASSERT_TRUE(WriteRunningRecord(d));
    }
};

TEST_F(PrelaunchTest, OptionsFileAndCurrencyTable)
{
    const std::pair<const char*, const char*> currencies[] = {
        {" 0", "€"}, {" 1", "sFr"}, {" 3", "£"}, {" 11", "chK"}, {" 12", "€"}, {"-1", "€"}, {" 1.5", "€"},
        {"Euro", "€"}, {"", "€"},
    };
    for (auto [line, currency] : currencies) {
        ResetGlobals();
        writeFile("Config/Options.cfg", QByteArray(line) + "\r\n");
        LoadOptions();
        EXPECT_EQ(G_Currency, QString::fromUtf8(currency)) << line;
    }
    ResetGlobals();
    QFile::remove(path("Config/Options.cfg"));
    LoadOptions();
    EXPECT_EQ(G_Currency, "€");

    const struct {
        const char* file;
        bool same, tray, minimized, dialer;
    } flags[] = {{" 3\r\n 1\r\n 0\r\n 1\r\n 1\r\n 1\r\n", true, false, true, true},
                 {" 12\r\n 2\r\n\r\n 0\r\n 1\r\n 0\r\n", false, false, false, false},
                 {"Euro\r\n 0\r\n 1\r\n", false, true, false, false}};
    for (const auto& c : flags) {
        ResetGlobals();
        writeFile("Config/Options.cfg", c.file);
        LoadOptions();
        EXPECT_EQ(QList<bool>({G_SameProgramsForAll, G_TrayWhenMinimized, G_StartMinimized, G_DialerProtection}),
                  QList<bool>({c.same, c.tray, c.minimized, c.dialer})) << c.file;
    }
}

TEST_F(PrelaunchTest, SecondStartShowsMessageAndTouchesNothing)
{
    const QString lockPath = path("instance.lock");
    InstanceLock first(lockPath);
    ASSERT_TRUE(first.tryLock());
    writeFile("Config/Options.cfg", " 3\r\n");
    runningRecording(); // the first copy's recording, live
    const QByteArray running = readFile(RUNNING_RECORD_FILE);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    InstanceLock second(lockPath);
    EXPECT_EQ(Prelaunch_Form_Load(second), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Zumbrel wurde bereits gestartet.");
    EXPECT_EQ(dialogs.messages[0].style, vbOKOnly + vbInformation);
    EXPECT_EQ(dialogs.messages[0].title, "Zumbrel");
    EXPECT_EQ(G_Currency, ""); // options not read
    EXPECT_FALSE(Form1::exists());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(readFile("Config/Options.cfg"), " 3\r\n");
    EXPECT_EQ(readFile(RUNNING_RECORD_FILE), running);
}

TEST_F(PrelaunchTest, FirstStartLoadsOptionsThenOpensTheMainWindow)
{
    writeFile("Config/Options.cfg", " 3\r\n 0\r\n 0\r\n 1\r\n");
    runningRecording(); // the last run was killed during a recording
    const QByteArray running = readFile(RUNNING_RECORD_FILE);
    InstanceLock lock(path("instance.lock"));
    Form1* form = Prelaunch_Form_Load(lock);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(ListRecordFiles(), QStringList({"17012001-115800.con"}));
    EXPECT_EQ(readFile("Verbindungen/17012001-115800.con"), running);
    EXPECT_FALSE(exists(RUNNING_RECORD_FILE));
    EXPECT_EQ(G_Currency, "£");
    EXPECT_TRUE(IsFormLoaded("Form1"));
    EXPECT_FALSE(IsFormLoaded("form1"));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    delete form;
    EXPECT_FALSE(IsFormLoaded("Form1"));
}

TEST_F(PrelaunchTest, QtsOwnTextsAreGermanWhileTheProgramRuns)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        GTEST_SKIP() << "Qt's German translation (qt6-translations-l10n) is not installed";
    const auto dateModified = [] { return QCoreApplication::translate("QFileSystemModel", "Date Modified"); };
    QString whileRunning;
    QTimer::singleShot(0, qApp, [&] {
        whileRunning = dateModified();
        if (Form1::exists()) Form1::instance()->close();
    });
    EXPECT_EQ(RunZumbrel(*qApp, path("instance.lock")), 0);
    EXPECT_EQ(whileRunning, "Änderungsdatum");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // the translation belongs to the run
    EXPECT_EQ(dateModified(), "Date Modified");
    delete Form1::instance();
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/ui/WindowUtils.h"
#include "recording/MainWindowFiles.h"
#include "recording/ui/Form1.h"
#include "recording/ui/Startup.h"
#include "recording/Prelaunch.h"
#include "recording/RunningRecord.h"
#include "support/SmallDisk.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {
const char* const HOLDER_ENV = "ZUMBREL_FOLDER_HOLDER";

// The running test's own executable, for this test alone.
void startThisTestAgain(QProcess& child, const QString& env, const QString& value)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(env, value);
    child.setProcessEnvironment(e);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
}
// How this process holds `file` open (O_RDONLY or O_RDWR), -1 when it does not.
int OpenModeOf(const QString& file)
{
    const QString target = QFileInfo(file).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (target.isEmpty() || QFileInfo(fds.filePath(fd)).symLinkTarget() != target) continue;
        QFile info("/proc/self/fdinfo/" + fd);
        if (!info.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("flags:")) return int(line.mid(6).trimmed().toUInt(nullptr, 8) & O_ACCMODE);
    }
    return -1;
}

// Root may write to every file: this thread gives that up for as long as the object lives, as another
// account would meet a lock file of ours.
class AsAnotherAccount {
public:
    AsAnotherAccount()
    {
        if (geteuid() != 0 || ::syscall(SYS_capget, &m_header, m_saved) != 0) return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        m_reduced = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~AsAnotherAccount()
    {
        if (m_reduced) ::syscall(SYS_capset, &m_header, m_saved);
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] = {};
    bool m_reduced = false;
};

mode_t KindOf(const QString& path)
{
    struct stat st = {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}
} // namespace

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
        StoredRecord stored;
        ASSERT_EQ(FormRecord(d, stored), 0);
        ASSERT_TRUE(WriteRunningLines(RunningRecordPath(), stored));
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

TEST_F(PrelaunchTest, OneProgramRunsOnADataFolderWhoeverStartsIt)
{
    if (const QString folder = qEnvironmentVariable(HOLDER_ENV); !folder.isEmpty()) {
        // another account's copy: a lock of its own in its runtime folder, the same data folder
        InstanceLock other(path("other-account.lock"));
        ASSERT_TRUE(other.tryLock());
        ASSERT_TRUE(other.tryLockFolder(folder));
        ASSERT_TRUE(other.holdsFolder());
        std::printf("holds the folder\n");
        std::fflush(stdout);
        QThread::sleep(120); // until killed
        return;
    }
    QProcess other;
    startThisTestAgain(other, HOLDER_ENV, dir.path());
    QByteArray said;
    while (!said.contains("holds the folder") && other.waitForReadyRead(30000)) said += other.readAll();
    ASSERT_TRUE(said.contains("holds the folder")) << said.constData();
    const QTemporaryDir runtime, installation;
    ASSERT_TRUE(QDir().mkpath(installation.path() + "/Tarife"));
    QFile shipped(installation.path() + "/Tarife/Net - Tag.tel");
    ASSERT_TRUE(shipped.open(QIODevice::WriteOnly));
    shipped.close();
    SetInstallationFolder(installation.path());
    // the folder as the program finds it: named by ZUMBREL_FOLDER, filled by its first use
    qputenv("ZUMBREL_FOLDER", QFile::encodeName(dir.path()));

    // Whatever bears the lock file's name is taken away before the next one is put there.
    const auto lockFileIs = [&](const std::function<bool(const QByteArray&)>& make) {
        if (KindOf(path(FOLDER_LOCK_FILE)) == S_IFDIR)
            QDir().rmdir(path(FOLDER_LOCK_FILE));
        else
            QFile::remove(path(FOLDER_LOCK_FILE));
        ASSERT_TRUE(make(QFile::encodeName(path(FOLDER_LOCK_FILE))));
    };
    writeFile("draussen/ziel", "fremd");
    const int FOLDER = -1; // the lock is on the data folder itself
    const struct {
        const char* name;
        std::function<void()> before;
        bool starts, takesOverTheRunningFile;
        int lockOpenAs = O_RDWR;
        bool asAnotherAccount = false;
    } cases[] = {
        {"the other copy runs", [] {}, false, false},
        {"the other copy was killed", [&] { ::kill(pid_t(other.processId()), SIGKILL), other.waitForFinished(); }, true,
         true},
        // the file simply exists, as a crash or another machine left it
        {"a lock file left behind", [&] { writeFile(FOLDER_LOCK_FILE, "rechner-2:4711\n"); }, true, true},
        {"another account's lock file",
         [&] {
             lockFileIs(
                 [](const QByteArray& p) { return ::close(::open(p.constData(), O_CREAT | O_WRONLY, 0444)) == 0; });
         },
         true, true, O_RDONLY, true},
        // something else in its place is neither removed nor replaced: the folder is locked
        {"a folder in its place",
         [&] { lockFileIs([&](const QByteArray&) { return QDir(dir.path()).mkdir(FOLDER_LOCK_FILE); }); }, true, true,
         FOLDER},
        {"a link in its place",
         [&] {
             lockFileIs([&](const QByteArray&) { return QFile::link(path("draussen/ziel"), path(FOLDER_LOCK_FILE)); });
         },
         true, true, FOLDER},
        {"a pipe in its place",
         [&] { lockFileIs([](const QByteArray& p) { return ::mkfifo(p.constData(), 0644) == 0; }); }, true, true,
         FOLDER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGlobals();
        dialogs.messages.clear();
        QDir(path("Verbindungen")).removeRecursively();
        writeFile("Config/Options.cfg", " 3\r\n");
        runningRecording();
        c.before();
        const QByteArray running = readFile(RUNNING_RECORD_FILE);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const mode_t lockKind = KindOf(path(FOLDER_LOCK_FILE));
        InstanceLock lock(runtime.path() + "/instance.lock"); // this account's: free
        SetProgramFolder(QString());
        std::optional<AsAnotherAccount> account;
        if (c.asAnotherAccount) account.emplace();
        Form1* form = Prelaunch_Form_Load(lock);
        account.reset();
        SetProgramFolder(dir.path());
        EXPECT_EQ(form != nullptr, c.starts);
        if (c.starts) {
            EXPECT_TRUE(dialogs.messages.isEmpty());
            EXPECT_EQ(G_Currency, "£");
            EXPECT_TRUE(exists("Tarife/Net - Tag.tel"));
            EXPECT_EQ(OpenModeOf(path(FOLDER_LOCK_FILE)), c.lockOpenAs);
            EXPECT_EQ(OpenModeOf(dir.path()), c.lockOpenAs == FOLDER ? O_RDONLY : -1);
            InstanceLock second(runtime.path() + "/second.lock");
            EXPECT_FALSE(second.tryLockFolder(dir.path()));
        } else {
            EXPECT_EQ(dialogs.texts(), QStringList{"Zumbrel wurde bereits gestartet."});
            EXPECT_EQ(G_Currency, "");
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        }
        EXPECT_EQ(KindOf(path(FOLDER_LOCK_FILE)), lockKind);
        EXPECT_EQ(readFile("draussen/ziel"), "fremd");
        EXPECT_EQ(ListRecordFiles().size(), c.takesOverTheRunningFile ? 1 : 0);
        EXPECT_EQ(exists(RUNNING_RECORD_FILE), !c.takesOverTheRunningFile);
        if (!c.takesOverTheRunningFile) {
            EXPECT_EQ(readFile(RUNNING_RECORD_FILE), running);
        }
        delete form;
        QDir(path("Tarife")).removeRecursively();
    }
    qunsetenv("ZUMBREL_FOLDER");
    if (other.state() != QProcess::NotRunning) {
        other.kill();
        other.waitForFinished();
    }
}

// Root ignores a folder's mode: a read-only mount, in a mount namespace of the test's own.
TEST_F(PrelaunchTest, AReadOnlyDataFolderStartsWithoutTakingOverTheRunningFile)
{
    if (!InPrivateMounts()) return;
    CreateSupervisorFiles();
    runningRecording();
    const QByteArray before = readFile(RUNNING_RECORD_FILE);
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr), 0);
    const struct Unmount {
        QByteArray folder;
        ~Unmount() { ::umount2(folder.constData(), MNT_DETACH); }
    } unmount{folder};
    ASSERT_EQ(::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
    ASSERT_FALSE(QFile(path("probe")).open(QIODevice::WriteOnly)) << "not read-only";

    QTemporaryDir runtime;
    InstanceLock lock(runtime.path() + "/instance.lock");
    Form1* form = Prelaunch_Form_Load(lock);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(lock.holdsFolder());
    EXPECT_FALSE(dialogs.texts().contains("Zumbrel wurde bereits gestartet."));
    EXPECT_EQ(readFile(RUNNING_RECORD_FILE), before);
    EXPECT_EQ(ListRecordFiles(), QStringList());
    delete form;
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

// The program's start-up and its idle cost, measured on a child process so that the figures include
// everything a real start pays: loading the executable, Qt's platform start, the main window's load.
#include "bench/BenchSupport.h"

#include "core/Clock.h"
#include "core/Dialogs.h"
#include "core/RecordFiles.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "recording/OverviewFiles.h"
#include "recording/ui/Startup.h"
#include "tariffs/TarifFile.h"
#include "users/UserRecord.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int STARTUP_RUNS = 10;
constexpr int WARM_UP_RUNS = 2; // the first creates the default user and settings; both fill the file cache
constexpr double STARTUP_GOAL_MS = 500;
constexpr int IDLE_FROM_S = 5, IDLE_TO_S = 65;
constexpr double IDLE_GOAL_PERCENT = 0.5;

qint64 monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// No box may wait for an answer in the child: each is written to stderr and given its first button.
class LoggedDialogs : public DialogHandler {
public:
    int messageBox(const MessageRequest& request) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        switch (request.buttons()) {
        case vbOKOnly:
        case vbOKCancel: return vbOK;
        case vbYesNo:
        case vbYesNoCancel: return vbYes;
        case vbRetryCancel: return vbRetry;
        default: return vbAbort;
        }
    }
    QString inputBox(const InputRequest& request) override
    {
        std::fprintf(stderr, "input: %s\n", qPrintable(request.prompt));
        return {};
    }
};

// Reports the main window's first paint.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(bool stay) : m_stay(stay) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_seen || event->type() != QEvent::Paint || !watched->isWidgetType() ||
            watched->objectName() != QLatin1String("Form1"))
            return false;
        m_seen = true;
        std::printf("painted %lld\n", static_cast<long long>(monotonicNs()));
        std::fflush(stdout);
        if (!m_stay) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }

private:
    bool m_stay;
    bool m_seen = false;
};

// user + system time of a process in clock ticks; -1 when it cannot be read.
qint64 cpuTicks(qint64 pid)
{
    QByteArray stat;
    if (ReadFileBytes(QString("/proc/%1/stat").arg(pid), &stat, 4096) != FileRead::Ok) return -1;
    // The command name in parentheses may hold blanks: the fields are counted after its end.
    const int end = stat.lastIndexOf(')');
    if (end < 0) return -1;
    const QList<QByteArray> fields = stat.mid(end + 2).split(' ');
    // fields[0] is the state (field 3 of the file); utime and stime are fields 14 and 15.
    if (fields.size() < 13) return -1;
    return fields[11].toLongLong() + fields[12].toLongLong();
}

struct Child {
    QProcess process;
    qint64 spawnedNs = 0;
    qint64 paintedNs = 0;
};

// Starts the child and waits for its first paint; false (and the child ended) after 60 s without one.
bool spawn(Child& child, const QString& folder, const QProcessEnvironment& env, bool stay)
{
    child.process.setProcessEnvironment(env);
    child.process.setProcessChannelMode(QProcess::SeparateChannels);
    child.spawnedNs = monotonicNs();
    child.process.start(QCoreApplication::applicationFilePath(),
                        {"--startup-child", folder, stay ? "idle" : "once"});
    QByteArray out;
    while (child.process.waitForReadyRead(60000)) {
        out += child.process.readAllStandardOutput();
        const int at = out.indexOf("painted ");
        const int eol = out.indexOf('\n', at);
        if (at >= 0 && eol > at) {
            child.paintedNs = out.mid(at + 8, eol - at - 8).trimmed().toLongLong();
            return true;
        }
    }
    child.process.kill();
    child.process.waitForFinished(5000);
    return false;
}

void end(Child& child)
{
    child.process.terminate();
    if (!child.process.waitForFinished(10000)) {
        child.process.kill();
        child.process.waitForFinished(5000);
    }
}

void printChildMessages(Child& child)
{
    const QByteArray err = child.process.readAllStandardError();
    for (const QByteArray& line : err.split('\n'))
        if (line.startsWith("message: ") || line.startsWith("input: "))
            std::printf("  the child showed %s\n", line.constData());
}
// The overview page's worst case at start: it names a user (no password) with all three budgets on
// and today inside a five-year period, so every budget walks the records, and a tariff with free
// minutes, whose allowance walks them again. The tariff is one the records name.
bool MakeWorstCaseOverview()
{
    TarifFile tariff = TarifFile::New("Wellenreiter", "Tag");
    tariff.takt = "60 / 60";
    tariff.freeAllowance = "600";
    tariff.zones = {{0, 8, 1.2f, false}, {8, 18, 1.9f, false}, {18, 24, 1.5f, false}};
    const QString file = "Wellenreiter - Tag.atl";
    if (!WriteTextLines(ProgramPath("Tarife/" + file), TarifFileLines(tariff))) return false;
    if (!SaveUser("Anna", UserRecord())) return false;
    BudgetRecord budget;
    budget.day = "5";
    budget.month = "50";
    budget.period = "500";
    budget.start = ShortDate(Today().addYears(-4));
    budget.end = ShortDate(Today().addYears(1));
    if (!WriteBudgetRecord(UserBudgetPath("Anna"), budget)) return false;
    BudgetOptions options;
    options.visualWarning = true;
    if (!WriteBudgetOptions(options)) return false;
    return SaveOverviewChoices({true, QString(), "Anna", tariff.provider, TarifItem(tariff.provider, file)});
}
} // namespace

int RunStartupChild(const QString& folder, bool stay)
{
    SetProgramFolder(folder);
    // Answers before the program's real dialogs, which it installs as the default.
    LoggedDialogs dialogs;
    SetDialogHandler(&dialogs);
    FirstPaint paint(stay);
    qApp->installEventFilter(&paint);
    // The whole program as its main() runs it; its lock lies in this run's own XDG_RUNTIME_DIR.
    const int result = RunZumbrel(*qApp);
    qApp->removeEventFilter(&paint);
    SetDialogHandler(nullptr);
    return result;
}

int RunStartupBench(int records)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    // The program folder holds the records and the overview's worst case; the first start makes the
    // Supervisor and the other default settings, except that detection is on.
    const QString folder = dir.path() + "/Zumbrel";
    SetProgramFolder(folder);
    ResetGlobals();
    const int made = MakeBenchRecords(records);
    WriteTextLines(ProgramPath("Config/Monitoring.cfg"), {" 1"});
    if (!MakeWorstCaseOverview()) {
        std::fprintf(stderr, "the overview's files could not be written\n");
        return 1;
    }

    // A lock and settings of its own, so that neither a running Zumbrel nor the user's desktop files
    // are touched.
    const QString runtime = dir.path() + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("XDG_CONFIG_HOME", dir.path() + "/config");
    env.insert("XDG_DATA_HOME", dir.path() + "/data");

    std::printf("start-up: %d records; the overview names a user with day, month and five-year period budgets "
                "and a tariff with free minutes; no password, detection on; an offscreen child\n",
                made);
    std::vector<double> ms;
    for (int run = 0; run < WARM_UP_RUNS + STARTUP_RUNS; ++run) {
        Child child;
        if (!spawn(child, folder, env, false)) {
            std::printf("  the child did not paint its main window within 60 s\n");
            printChildMessages(child);
            return 1;
        }
        child.process.waitForFinished(10000);
        if (run == 0) printChildMessages(child);
        if (run >= WARM_UP_RUNS) ms.push_back((child.paintedNs - child.spawnedNs) / 1e6);
        if (child.process.state() != QProcess::NotRunning) end(child);
    }
    std::sort(ms.begin(), ms.end());
    const double median = (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    std::printf("spawn to the main window's first paint, %d warm runs: median %.0f ms (best %.0f, worst %.0f)\n",
                STARTUP_RUNS, median, ms.front(), ms.back());
    std::printf("goal (median under %.0f ms): %s\n", STARTUP_GOAL_MS, median < STARTUP_GOAL_MS ? "met" : "NOT met");

    Child idle;
    if (!spawn(idle, folder, env, true)) {
        std::printf("  the idle child did not paint its main window\n");
        return 1;
    }
    const qint64 pid = idle.process.processId();
    const long tick = sysconf(_SC_CLK_TCK);
    const auto sleepUntil = [&](int seconds) {
        const qint64 wake = idle.spawnedNs + qint64(seconds) * 1000000000;
        while (monotonicNs() < wake) QThread::msleep(std::min<qint64>(100, (wake - monotonicNs()) / 1000000 + 1));
    };
    sleepUntil(IDLE_FROM_S);
    const qint64 before = cpuTicks(pid);
    sleepUntil(IDLE_TO_S);
    const qint64 after = cpuTicks(pid);
    const bool running = idle.process.state() == QProcess::Running;
    end(idle);
    printChildMessages(idle);
    if (before < 0 || after < 0 || !running) {
        std::printf("idle: the child's CPU time could not be read (it ended early?)\n");
        return 1;
    }
    const double seconds = IDLE_TO_S - IDLE_FROM_S;
    const double percent = double(after - before) / tick / seconds * 100;
    const int recorded = int(ListRecordFiles().size()) - made;
    std::printf("idle, seconds %d-%d after the spawn: %.2f %% of one core (%lld ticks of 1/%ld s user+system); "
                "%d connections recorded meanwhile\n",
                IDLE_FROM_S, IDLE_TO_S, percent, static_cast<long long>(after - before), tick, recorded);
    std::printf("goal (under %.1f %% of one core): %s\n", IDLE_GOAL_PERCENT,
                percent < IDLE_GOAL_PERCENT ? "met" : "NOT met");
    return 0;
}

#include "RunFixture.h"

#include "znRegIni.h"
#include "znUtils.h"

#include <QFileInfo>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

#include <unistd.h>

namespace {

qint64 ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    qint64 size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

} // namespace

void RunTest::SetUp()
{
    UninstallTest::SetUp();
    oldCurrent = QDir::currentPath();
    store = std::make_unique<TRegistryStore>(Path(QStringLiteral("data/Uninstall")));
    UseRegistryStore(store.get());
    WriteBytes(QStringLiteral("app/Uninstall"), "program");
    WriteBytes(QStringLiteral("app/Uninstall.bmp"), "bitmap");
    sim = std::make_unique<TSimSystem>(App(QStringLiteral("Uninstall")));
    SetMsgBoxAnswerer([this](QObject*, const QString& Caption, const QString& Text, quint32) {
        boxes << Caption + u'|' + Text;
        return boxAnswers.isEmpty() ? 0 : boxAnswers.takeFirst();
    });
}

void RunTest::TearDown()
{
    QDir::setCurrent(oldCurrent);
    SetMsgBoxAnswerer(nullptr);
    AppTitle.clear();
    MsgBoxExtraFlags = 0;
    UninstallTest::TearDown();
}

void RunTest::WriteLog(const QList<QByteArray>& Lines, const QString& Name)
{
    WriteBytes(QStringLiteral("app/") + Name, CrLf(Lines));
}

bool RunTest::Prepare(const QStringList& Arguments)
{
    run = std::make_unique<TUninstallRun>(*sim);
    run->Progress = &progress;
    return run->Prepare(Arguments);
}

void RunTest::Work()
{
    run->UninstallThread();
    run->Finish();
}

void RunTest::WorkWithin(std::chrono::seconds Limit)
{
    std::atomic<bool> done{false};
    std::thread worker([this, &done] {
        run->UninstallThread();
        done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + Limit;
    const qint64 before = ResidentBytes();
    while (!done) {
        if (std::chrono::steady_clock::now() > deadline || ResidentBytes() - before > (qint64(1) << 30)) {
            std::fprintf(stderr, "The worker did not end within %lld s or took more than a GiB.\n",
                         static_cast<long long>(Limit.count()));
            std::_Exit(1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    worker.join();
    run->Finish();
}

void RunTest::Exists(const QStringList& Names, bool Expected) const
{
    for (const QString& name : Names)
        EXPECT_EQ(QFileInfo::exists(Path(name)) || QFileInfo(Path(name)).isSymLink(), Expected) << qPrintable(name);
}

// One look at the serial lock folder, which every account may write to, with a huge sparse file in it.
#include "bench/BenchSupport.h"

#include "core/TextFile.h"
#include "core/platform/linux/PppdLink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>


namespace {
constexpr qint64 SPARSE_BYTES = qint64(1) << 30;
constexpr double GOAL_MS = 5;
constexpr qint64 GOAL_BYTES = 64 * 1024;

qint64 procNumber(const char* file, const QByteArray& key)
{
    QByteArray text;
    if (ReadFileBytes(QString::fromLatin1(file), &text) != FileRead::Ok) return -1;
    for (const QByteArray& line : text.split('\n'))
        if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}
} // namespace

int RunLockFolderBench()
{
    QTemporaryDir dir;
    const QString lockDir = dir.path() + "/lock", proc = dir.path() + "/proc";
    QDir().mkpath(lockDir);
    QDir().mkpath(proc + "/4321");
    QFile sparse(lockDir + "/LCK..x");
    if (!sparse.open(QIODevice::WriteOnly) || !sparse.resize(SPARSE_BYTES)) {
        std::fprintf(stderr, "no sparse file\n");
        return 1;
    }
    sparse.close();
    QFile real(lockDir + "/LCK..ttyUSB0");
    if (!real.open(QIODevice::WriteOnly) || real.write("      4321\n") != 11) return 1;
    real.close();

    const qint64 readBefore = procNumber("/proc/self/io", "rchar:");
    const qint64 rssBefore = procNumber("/proc/self/status", "VmHWM:");
    double best = 1e9;
    bool held = true;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        held = SerialLockHeldBy(lockDir, 4321, proc) && held;
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    const qint64 bytesPerLook = (procNumber("/proc/self/io", "rchar:") - readBefore) / 5;
    const qint64 peakGrowthKb = procNumber("/proc/self/status", "VmHWM:") - rssBefore;
    std::printf("serial lock look beside a sparse 1 GiB lock file: best %.2f ms, %lld bytes read per look, peak RSS "
                "growth %lld kB (the real lock %s)\n",
                best, bytesPerLook, peakGrowthKb, held ? "found" : "NOT found");
    const bool ok = held && best < GOAL_MS && bytesPerLook < GOAL_BYTES;
    std::printf("goal (one look under %.0f ms reading under 64 KiB): %s\n", GOAL_MS, ok ? "met" : "NOT met");
    return ok ? 0 : 1;
}

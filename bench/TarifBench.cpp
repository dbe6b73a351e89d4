// The tariff page's tree and the provider list over a large tariff folder.
#include "bench/BenchSupport.h"

#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "tariffs/TarifFile.h"
#include "tariffs/TarifTree.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int PROVIDERS = 200, FILES = 2000;
constexpr double GOAL_MS = 100;

// Best of five warm runs.
double bestMs(const std::function<int()>& run)
{
    run();
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        volatile int sink = run();
        (void)sink;
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}
} // namespace

int RunTarifBench()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    const QByteArray bytes = "[Providerdaten]\r\n";
    for (int i = 0; i < FILES; ++i) {
        QFile f(dir.path() + QString("/Tarife/Anbieter %1 - Tarif %2%3").arg(i % PROVIDERS).arg(i).arg(i % 3 ? ".tel" : ".atl"));
        if (i == 0) QDir().mkpath(dir.path() + "/Tarife");
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(bytes);
    }
    const double tree = bestMs([] { return BuildTarifTree().count; });
    const double providers = bestMs([] { return int(ListProviders().size()); });
    std::printf("tariff tree, %d files of %d providers: %.1f ms (goal < %.0f)\n", FILES, PROVIDERS, tree, GOAL_MS);
    std::printf("ListProviders, same folder: %.1f ms (goal < %.0f)\n", providers, GOAL_MS);
    return tree < GOAL_MS && providers < GOAL_MS ? 0 : 1;
}

// Usage: zumbrel_bench [records]   the record walks, then the start-up and idle figures (default 20000)
//        zumbrel_bench --startup   the start-up and idle figures only
//        zumbrel_bench --tariffs   the tariff tree and provider list only
//        zumbrel_bench --list      the connection list's load, grid and re-sort only
//        zumbrel_bench --lock      the serial lock folder's look only
#include "bench/BenchSupport.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 3 && std::strcmp(argv[1], "--startup-child") == 0) {
        QApplication app(argc, argv);
        return RunStartupChild(QString::fromLocal8Bit(argv[2]), std::strcmp(argv[3], "idle") == 0);
    }
    // one offscreen application for every bench: the page benches build windows
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--tariffs") == 0) return RunTarifBench();
    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) return RunListBench(20000);
    if (argc > 1 && std::strcmp(argv[1], "--lock") == 0) return RunLockFolderBench();
    const bool startupOnly = argc > 1 && std::strcmp(argv[1], "--startup") == 0;
    const int records = argc > 1 && !startupOnly ? std::max(1, std::atoi(argv[1])) : 20000;
    if (!startupOnly) {
        const int rc = RunRecordBench(records);
        if (rc != 0) return rc;
        if (RunTarifBench() != 0) return 1;
        if (RunLockFolderBench() != 0) return 1;
    }
    return RunStartupBench(records);
}

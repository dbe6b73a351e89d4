#pragma once
// The parts of zumbrel_bench.
#include <QString>

// Writes `count` connection records spread over five years up to today into the program folder's
// Verbindungen; returns how many were written.
int MakeBenchRecords(int count);

// The record walks, the limit check, the budgets and the billing tick.
int RunRecordBench(int records);
// The connection list's load, its page with the grid filled, and a re-sort, on a folder of its own.
int RunListBench(int records);
// The start-up to the main window's first paint, and the idle cost of the running program, both in a
// child process of this executable on a program folder of its own.
int RunStartupBench(int records);
// The child's side: starts the program on `folder`, prints "painted <monotonic ns>" at the main window's
// first paint; with `stay` it then runs on, else it ends.
int RunStartupChild(const QString& folder, bool stay);

// The tariff page's tree and ListProviders over 2,000 tariff files of 200 providers.
int RunTarifBench();
// The serial lock folder's look with a sparse 1 GiB file in it, then beside 200,000 planted entries.
int RunLockFolderBench();
int RunLockFloodBench();

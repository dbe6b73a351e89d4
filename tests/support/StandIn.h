#pragma once
// A process standing in for another (a shell for pppd) whose /proc entry a test reads.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Starts `program` with `args` and returns once its /proc/<pid>/cmdline reads as that command. The start is
// reported as soon as the exec is under way, while the kernel sets the new program's arguments a moment
// later: until then they read empty. Fails after a few seconds, or at once when the process ends.
::testing::AssertionResult StartStandIn(QProcess& process, const QString& program, const QStringList& args);

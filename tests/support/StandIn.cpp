#include "StandIn.h"

#include "support/RealFiles.h"

#include <QElapsedTimer>
#include <QFile>

::testing::AssertionResult StartStandIn(QProcess& process, const QString& program, const QStringList& args)
{
    process.start(program, args);
    if (!process.waitForStarted())
        return ::testing::AssertionFailure() << program.toStdString() << ": " << process.errorString().toStdString();
    QByteArray expected; // the words after the program's own name, each ended by a NUL
    for (const QString& a : args)
        expected.append(QFile::encodeName(a)).append('\0');
    const QString cmdline = QStringLiteral("/proc/%1/cmdline").arg(process.processId());
    QByteArray read;
    QElapsedTimer waited;
    waited.start();
    do {
        read = ReadToEnd(cmdline);
        const qsizetype name = read.indexOf('\0');
        if (name > 0 && read.mid(name + 1) == expected) return ::testing::AssertionSuccess();
    } while (!process.waitForFinished(1) && waited.elapsed() < 5000);
    return ::testing::AssertionFailure() << program.toStdString() << " ended or its command line read \""
                                         << read.replace('\0', ' ').toStdString() << "\" after " << waited.elapsed()
                                         << " ms";
}

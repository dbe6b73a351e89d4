#include "core/platform/linux/LinuxProgramStarter.h"

#include <QFileInfo>
#include <QProcess>

QStringList LinuxProgramStarter::SplitCommand(const QString& commandLine)
{
    // A program chosen in the file dialog is stored as its bare path, blanks and all.
    if (!commandLine.trimmed().isEmpty() && QFileInfo(commandLine).isFile()) return {commandLine};
    return QProcess::splitCommand(commandLine);
}

bool LinuxProgramStarter::start(const QString& commandLine)
{
    QStringList args = SplitCommand(commandLine);
    if (args.isEmpty()) return false;
    const QString program = args.takeFirst();
    return QProcess::startDetached(program, args);
}

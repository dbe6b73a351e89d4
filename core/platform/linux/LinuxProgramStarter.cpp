#include "core/platform/linux/LinuxProgramStarter.h"

#include <QProcess>

bool LinuxProgramStarter::start(const QString& commandLine)
{
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty()) return false;
    const QString program = args.takeFirst();
    return QProcess::startDetached(program, args);
}

#include "core/platform/linux/LinuxSessionAutostart.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>

LinuxSessionAutostart::LinuxSessionAutostart(const QString& folder) : m_file(folder + "/zumbrel.desktop") {}

QString LinuxSessionAutostart::DefaultFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = QDir::homePath() + "/.config";
    return config + "/autostart";
}

QString LinuxSessionAutostart::ExecWord(const QString& word)
{
    // Inside the quotes ", `, $ and \ take a backslash; the string escapes of the key's value come on top,
    // which doubles every backslash; % would start a field code.
    QString quoted;
    for (const QChar c : word) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    QString value;
    for (const QChar c : '"' + quoted + '"') {
        if (c == '\\') value += "\\\\";
        else if (c == '\n') value += "\\n";
        else if (c == '\t') value += "\\t";
        else if (c == '\r') value += "\\r";
        else if (c == '%') value += "%%";
        else value += c;
    }
    return value;
}

QByteArray LinuxSessionAutostart::DesktopEntry(const QString& program, const QString& dataFolder)
{
    // The session starts the program without the environment it runs in now.
    const QString exec = dataFolder.isEmpty() ? ExecWord(program)
                                              : QStringLiteral("env ") + ExecWord("ZUMBREL_FOLDER=" + dataFolder) +
                                                    QLatin1Char(' ') + ExecWord(program);
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=Zumbrel 3\nExec=%1\n").arg(exec).toUtf8();
}

bool LinuxSessionAutostart::enable(const QString& program, const QString& dataFolder)
{
    // The user's own folder: an entry kept elsewhere and linked here is written where it is kept.
    return WriteFileBytes(m_file, DesktopEntry(program, dataFolder), FileAccess::Default, FileSync::Atomic,
                          FileLinks::Follow);
}

bool LinuxSessionAutostart::disable()
{
    const QFileInfo entry(m_file);
    if (!entry.exists() && !entry.isSymLink()) return true;
    return QFile::remove(m_file);
}

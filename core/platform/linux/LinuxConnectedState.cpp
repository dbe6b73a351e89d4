#include "core/platform/linux/LinuxConnectedState.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {
constexpr quint32 RTF_UP_FLAG = 0x1;
}

LinuxConnectedState::LinuxConnectedState(const QString& procNet, const PppdFiles& pppd)
    : m_routeFile(procNet + QStringLiteral("/route")), m_pppd(pppd)
{
}

bool LinuxConnectedState::isAvailable() const { return QFileInfo(m_routeFile).isReadable(); }

quint32 LinuxConnectedState::flags()
{
    QFile file(m_routeFile);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    // A /proc file reports size 0: only one read to its end sees its lines.
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty()) lines.removeFirst(); // column titles
    quint32 result = 0;
    for (const QByteArray& bytes : lines) {
        const QString line = QString::fromLatin1(bytes);
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (f.size() < 8) continue;
        bool okFlags = false;
        const quint32 routeFlags = f[3].toUInt(&okFlags, 16);
        const bool isDefault =
            f[1].toUInt(nullptr, 16) == 0 && f[7].toUInt(nullptr, 16) == 0 && f[1].size() == 8 && f[7].size() == 8;
        if (!okFlags || !isDefault || !(routeFlags & RTF_UP_FLAG)) continue;
        const QString& iface = f[0];
        if (iface.startsWith(QLatin1String("ppp")) &&
            !PppdLinkDialled(m_pppd, PppdPidOf(m_pppd.runDir, iface), m_options))
            continue; // up and routed, but its line is not dialled
        if (iface.startsWith(QLatin1String("ppp")) || iface.startsWith(QLatin1String("wwan")))
            result |= INTERNET_CONNECTION_MODEM;
        else
            result |= INTERNET_CONNECTION_LAN;
    }
    return result;
}

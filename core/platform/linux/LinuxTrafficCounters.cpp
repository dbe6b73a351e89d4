#include "core/platform/linux/LinuxTrafficCounters.h"

#include <QFile>
#include <QFileInfo>

namespace {
bool ReadCounter(const QString& path, quint64* value)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    bool ok = false;
    const quint64 v = file.readAll().trimmed().toULongLong(&ok);
    if (ok) *value = v;
    return ok;
}
} // namespace

bool IsPlainInterfaceName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

LinuxTrafficCounters::LinuxTrafficCounters(const QString& sysClassNet) : m_root(sysClassNet) {}

bool LinuxTrafficCounters::isAvailable() const { return QFileInfo(m_root).isDir(); }

bool LinuxTrafficCounters::read(const QString& interfaceName, quint64* received, quint64* sent)
{
    if (!IsPlainInterfaceName(interfaceName)) return false;
    const QString dir = m_root + QLatin1Char('/') + interfaceName + QStringLiteral("/statistics/");
    quint64 rx = 0, tx = 0;
    if (!ReadCounter(dir + QStringLiteral("rx_bytes"), &rx) || !ReadCounter(dir + QStringLiteral("tx_bytes"), &tx))
        return false;
    *received = rx;
    *sent = tx;
    return true;
}

#include "core/platform/linux/LinuxLineMonitor.h"

#include "core/platform/linux/PppdLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

namespace {
constexpr qint32 LINEERR_FAILED = -1;
constexpr quint32 LINE_APP = 1;
constexpr quint32 LINE_HANDLE = 1;

QByteArray FirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readLine(64).trimmed();
}
} // namespace

LinuxLineMonitor::LinuxLineMonitor(const PppdFiles& files, int pollMs) : m_files(files), m_pollMs(pollMs) {}

LinuxLineMonitor::~LinuxLineMonitor() = default;

bool LinuxLineMonitor::isAvailable() const { return QFileInfo(m_files.pppd).isExecutable(); }

qint32 LinuxLineMonitor::initialize(LineCallbackFn callback, quint32* lineApp, quint32* deviceCount)
{
    m_callback = std::move(callback);
    m_initialized = true;
    *lineApp = LINE_APP;
    *deviceCount = isAvailable() ? 1 : 0;
    return 0;
}

qint32 LinuxLineMonitor::negotiateApiVersion(quint32 lineApp, quint32 device, quint32 lowVersion, quint32 highVersion,
                                             quint32* version)
{
    if (!m_initialized || lineApp != LINE_APP || device != 0 || lowVersion > highVersion) return LINEERR_FAILED;
    *version = highVersion;
    return 0;
}

qint32 LinuxLineMonitor::open(quint32 lineApp, quint32 device, quint32* line, quint32, quint32, quint32)
{
    if (!m_initialized || lineApp != LINE_APP || device != 0 || !isAvailable()) return LINEERR_FAILED;
    *line = LINE_HANDLE;
    m_open = true;
    if (!m_timer) {
        m_timer = std::make_unique<QTimer>();
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { poll(); });
    }
    m_timer->start(m_pollMs);
    return 0;
}

qint32 LinuxLineMonitor::deallocateCall(quint32 call)
{
    if (call == 0) return LINEERR_FAILED;
    if (call == m_call) m_call = 0;
    return 0;
}

qint32 LinuxLineMonitor::close(quint32 line)
{
    if (line != LINE_HANDLE || !m_open) return LINEERR_FAILED;
    m_open = false;
    if (m_timer) m_timer->stop();
    return 0;
}

qint32 LinuxLineMonitor::shutdown(quint32 lineApp)
{
    if (lineApp != LINE_APP || !m_initialized) return LINEERR_FAILED;
    if (m_open) close(LINE_HANDLE);
    m_initialized = false;
    m_callback = nullptr;
    m_call = 0;
    return 0;
}

bool LinuxLineMonitor::serialLinkUp() const
{
    static const QRegularExpression unitPidFile(QStringLiteral("^ppp(\\d+)\\.pid$"));
    const QStringList pidFiles = QDir(m_files.runDir).entryList({QStringLiteral("ppp*.pid")}, QDir::Files, QDir::Name);
    for (const QString& name : pidFiles) {
        const QRegularExpressionMatch m = unitPidFile.match(name);
        if (!m.hasMatch()) continue;
        bool ok = false;
        const qint64 pid = FirstLine(m_files.runDir + QLatin1Char('/') + name).toLongLong(&ok);
        if (!ok || pid <= 0) continue;
        const QString iface = QStringLiteral("ppp") + m.captured(1);
        const uint ifFlags =
            FirstLine(m_files.sysClassNet + QLatin1Char('/') + iface + QStringLiteral("/flags")).toUInt(&ok, 16);
        if (!ok || !(ifFlags & 0x1)) continue; // IFF_UP
        if (PppdLineLocked(m_files, pid, m_options)) return true;
    }
    return false;
}

void LinuxLineMonitor::poll()
{
    if (!m_open || !m_callback) return;
    const bool up = serialLinkUp();
    const LineCallbackFn callback = m_callback; // the callback may shut the monitor down
    if (up && m_call == 0) {
        m_call = ++m_lastCall;
        if (m_call == 0) m_call = m_lastCall = 1;
        callback(m_call, LINE_CALLSTATE, 0, LINECALLSTATE_CONNECTED, 0, 0);
    } else if (!up && m_call != 0) {
        const quint32 call = m_call;
        callback(call, LINE_CALLSTATE, 0, LINECALLSTATE_IDLE, 0, 0);
        if (m_call == call) m_call = 0; // the callback normally deallocates it
    }
}

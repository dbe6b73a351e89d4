#pragma once
#include "core/platform/LineMonitor.h"
#include "core/platform/linux/PppdLink.h"

#include <QString>

#include <memory>

class QTimer;

// The telephony line is a pppd link on a serial device: pppd's unit pid file in /run names the link,
// its ppp interface is up, and that pppd holds the lock of the line its options name. A machine without
// pppd has no line device. The link is looked at once a second and changes arrive as call states.
class LinuxLineMonitor : public LineMonitor {
public:
    explicit LinuxLineMonitor(const PppdFiles& files = PppdFiles(), int pollMs = 1000);
    ~LinuxLineMonitor() override;

    bool isAvailable() const override;
    qint32 initialize(LineCallbackFn callback, quint32* lineApp, quint32* deviceCount) override;
    qint32 negotiateApiVersion(quint32 lineApp, quint32 device, quint32 lowVersion, quint32 highVersion,
                               quint32* version) override;
    qint32 open(quint32 lineApp, quint32 device, quint32* line, quint32 version, quint32 privileges,
                quint32 mediaModes) override;
    qint32 deallocateCall(quint32 call) override;
    qint32 close(quint32 line) override;
    qint32 shutdown(quint32 lineApp) override;

    bool serialLinkUp() const;
    void poll(); // compares the link with the last look and reports a change

private:
    PppdFiles m_files;
    mutable PppdOptionCache m_options; // read while looking at the link
    int m_pollMs;
    LineCallbackFn m_callback;
    std::unique_ptr<QTimer> m_timer;
    bool m_initialized = false;
    bool m_open = false;
    quint32 m_call = 0;
    quint32 m_lastCall = 0;
};

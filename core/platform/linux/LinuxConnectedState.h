#pragma once
#include "core/platform/ConnectedState.h"
#include "core/platform/linux/PppdLink.h"

#include <QString>

// The connected state from the default routes of /proc/net/route: a default route through a ppp or
// wwan interface is a modem connection, through any other interface a LAN connection. No proxy bit.
// A ppp interface counts only while its pppd's line is dialled (PppdLinkDialled).
class LinuxConnectedState : public ConnectedState {
public:
    explicit LinuxConnectedState(const QString& procNet = QStringLiteral("/proc/net"),
                                 const PppdFiles& pppd = PppdFiles());
    bool isAvailable() const override;
    quint32 flags() override;

private:
    QString m_routeFile;
    PppdFiles m_pppd;
    PppdOptionCache m_options;
};

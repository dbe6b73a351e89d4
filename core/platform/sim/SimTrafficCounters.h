#pragma once
#include "core/platform/TrafficCounters.h"

#include <QMap>
#include <QStringList>

#include <utility>

// Scripted interface totals; an interface not in the map cannot be read.
class SimTrafficCounters : public TrafficCounters {
public:
    bool isAvailable() const override { return available; }
    bool read(const QString& interfaceName, quint64* received, quint64* sent) override
    {
        reads << interfaceName;
        const auto it = totals.constFind(interfaceName);
        if (it == totals.constEnd()) return false;
        *received = it->first;
        *sent = it->second;
        return true;
    }
    void set(const QString& iface, quint64 received, quint64 sent) { totals[iface] = {received, sent}; }

    bool available = true;
    QMap<QString, std::pair<quint64, quint64>> totals;
    QStringList reads;
};

#pragma once
#include "core/platform/HostAddresses.h"

// Scripted host addresses; records startup/cleanup/addresses calls.
class SimHostAddresses : public HostAddresses {
public:
    bool isAvailable() const override { return available; }
    bool startup() override
    {
        calls << QStringLiteral("startup");
        return startupResult;
    }
    void cleanup() override { calls << QStringLiteral("cleanup"); }
    bool addresses(QStringList* out) override
    {
        calls << QStringLiteral("addresses");
        if (!lookupResult) return false;
        *out = list;
        return true;
    }

    bool available = true;
    bool startupResult = true;
    bool lookupResult = true;
    QStringList list;
    QStringList calls;
};

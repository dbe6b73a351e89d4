#pragma once
#include "core/platform/LineMonitor.h"

#include <QString>
#include <QStringList>

// Scripted telephony line: each step returns its scripted result; fire() delivers a call-state
// event to the registered callback as the line would. Every call is recorded in `calls`.
class SimLineMonitor : public LineMonitor {
public:
    bool isAvailable() const override { return available; }
    qint32 initialize(LineCallbackFn cb, quint32* lineApp, quint32* count) override
    {
        calls << QStringLiteral("initialize");
        if (initializeResult < 0) return initializeResult;
        callback = std::move(cb);
        *lineApp = appHandle;
        *count = deviceCount;
        return initializeResult;
    }
    qint32 negotiateApiVersion(quint32 lineApp, quint32 device, quint32 low, quint32 high, quint32* version) override
    {
        calls << QStringLiteral("negotiate %1 %2 %3 %4").arg(lineApp).arg(device).arg(low, 0, 16).arg(high, 0, 16);
        if (negotiateResult >= 0) *version = high;
        return negotiateResult;
    }
    qint32 open(quint32 lineApp, quint32 device, quint32* line, quint32 version, quint32 privileges,
                quint32 mediaModes) override
    {
        calls << QStringLiteral("open %1 %2 %3 %4 %5")
                     .arg(lineApp)
                     .arg(device)
                     .arg(version, 0, 16)
                     .arg(privileges)
                     .arg(mediaModes, 0, 16);
        if (openResult >= 0) *line = lineHandle;
        return openResult;
    }
    qint32 deallocateCall(quint32 call) override
    {
        calls << QStringLiteral("deallocate %1").arg(call);
        return 0;
    }
    qint32 close(quint32 line) override
    {
        calls << QStringLiteral("close %1").arg(line);
        return 0;
    }
    qint32 shutdown(quint32 lineApp) override
    {
        calls << QStringLiteral("shutdown %1").arg(lineApp);
        return 0;
    }
    void fire(quint32 device, quint32 message, quint32 param1)
    {
        if (callback) callback(device, message, 0, param1, 0, 0);
    }

    bool available = true;
    qint32 initializeResult = 0;
    qint32 negotiateResult = 0;
    qint32 openResult = 0;
    quint32 deviceCount = 1;
    quint32 appHandle = 7;
    quint32 lineHandle = 9;
    LineCallbackFn callback;
    QStringList calls;
};

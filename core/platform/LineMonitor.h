#pragma once
// A telephony line monitor: reports the call states of data calls on a line device. Results below 0
// are failures, as the telephony interface reports them.
#include <QtGlobal>

#include <functional>

constexpr quint32 LINE_CALLSTATE = 2;
constexpr quint32 LINECALLSTATE_IDLE = 0x1;
constexpr quint32 LINECALLSTATE_BUSY = 0x40;
constexpr quint32 LINECALLSTATE_CONNECTED = 0x100;
constexpr quint32 LINECALLSTATE_DISCONNECTED = 0x4000;
constexpr quint32 LINECALLPRIVILEGE_MONITOR = 2;
constexpr quint32 LINEMEDIAMODE_DATAMODEM = 0x10;

// hDevice, dwMessage, dwCallbackInstance, dwParam1, dwParam2, dwParam3; delivered on the UI thread.
using LineCallbackFn = std::function<void(quint32, quint32, quint32, quint32, quint32, quint32)>;

class LineMonitor {
public:
    virtual ~LineMonitor() = default;
    virtual bool isAvailable() const = 0;
    virtual qint32 initialize(LineCallbackFn callback, quint32* lineApp, quint32* deviceCount) = 0;
    virtual qint32 negotiateApiVersion(quint32 lineApp, quint32 device, quint32 lowVersion, quint32 highVersion,
                                       quint32* version) = 0;
    virtual qint32 open(quint32 lineApp, quint32 device, quint32* line, quint32 version, quint32 privileges,
                        quint32 mediaModes) = 0;
    virtual qint32 deallocateCall(quint32 call) = 0;
    virtual qint32 close(quint32 line) = 0;
    virtual qint32 shutdown(quint32 lineApp) = 0;
};

LineMonitor& TheLineMonitor();
void SetLineMonitor(LineMonitor* monitor); // nullptr restores the system's; the caller keeps ownership

#pragma once
// The system's connected state: which kinds of link currently carry the Internet.
#include <QtGlobal>

enum ConnectedFlag : quint32 {
    INTERNET_CONNECTION_MODEM = 1,
    INTERNET_CONNECTION_LAN = 2,
    INTERNET_CONNECTION_PROXY = 4,
};

class ConnectedState {
public:
    virtual ~ConnectedState() = default;
    virtual bool isAvailable() const = 0;
    // The ConnectedFlag bits that hold now; 0 when nothing is connected or nothing can be read.
    virtual quint32 flags() = 0;
};

ConnectedState& TheConnectedState();
void SetConnectedState(ConnectedState* state); // nullptr restores the system's; the caller keeps ownership

#pragma once
#include "core/platform/ConnectedState.h"

// Scripted connected state: answers what the test sets and counts the questions.
class SimConnectedState : public ConnectedState {
public:
    bool isAvailable() const override { return available; }
    quint32 flags() override
    {
        ++calls;
        return currentFlags;
    }

    bool available = true;
    quint32 currentFlags = 0;
    int calls = 0;
};

#pragma once
#include "core/platform/TaskList.h"

#include <QList>

// Records every window left out of the task list or let back in, in order.
class SimTaskList : public TaskList {
public:
    struct Call {
        QWindow* window;
        bool hidden;
        bool operator==(const Call& other) const { return window == other.window && hidden == other.hidden; }
    };
    void setHidden(QWindow* window, bool hidden) override { calls.append({window, hidden}); }
    QList<Call> calls;
};

#pragma once
// The EWMH state _NET_WM_STATE_SKIP_TASKBAR on X11, through Qt's xcb connection. Wayland has no such
// state for a client to set: on any platform but xcb this does nothing.
#include "core/platform/TaskList.h"

class XcbTaskList : public TaskList {
public:
    void setHidden(QWindow* window, bool hidden) override;
};

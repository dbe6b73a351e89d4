#pragma once
// The desktop's task list: a restricted user's program keeps its windows out of it.
class QWindow;

class TaskList {
public:
    virtual ~TaskList() = default;
    // Leaves the window out of the task list (hidden) or lets it back in. The window manager forgets
    // the setting when a window is withdrawn, so it is given again each time the window is shown.
    virtual void setHidden(QWindow* window, bool hidden) = 0;
};

TaskList& TheTaskList();
void SetTaskList(TaskList* taskList); // nullptr restores the system's; the caller keeps ownership

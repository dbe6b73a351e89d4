#pragma once
// The program's start: single instance and options, then the main window; and the whole run.
#include <QString>

#include <functional>

class Form1;
class InstanceLock;
class QApplication;

// The whole start: single instance, the recording a crash left, the options, then the main window and its
// load sequence (which may wait for a login). `beforeLoad` gets the main window before its load. Returns the
// loaded main window, or nullptr when another copy runs (after telling the user so).
Form1* Prelaunch_Form_Load(InstanceLock& lock, const std::function<void(Form1&)>& beforeLoad = {});

// The body of main(): real dialogs, the start-up, the session-end signals, the event loop. The
// program folder must be set (or left to its default) before.
int RunZumbrel(QApplication& app, const QString& lockFile = QString());

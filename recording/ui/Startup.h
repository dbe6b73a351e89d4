#pragma once
// The program's start: single instance and options, then the main window; and the whole run.
#include <QString>

class Form1;
class InstanceLock;
class QApplication;

// Returns the loaded main window, or nullptr when another copy runs (after telling the user so).
Form1* Prelaunch_Form_Load(InstanceLock& lock);

// The body of main(): real dialogs, the start-up, the session-end signals, the event loop. The
// program folder must be set (or left to its default) before.
int RunZumbrel(QApplication& app, const QString& lockFile = QString());

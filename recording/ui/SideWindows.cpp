#include "recording/ui/SideWindows.h"

#include <QMouseEvent>

// Skeletons: the windows' controls and timers follow.
ConStop::ConStop(QWidget* parent) : QWidget(parent) {}
ConStop::~ConStop() = default;
void ConStop::Timer1_Timer() {}
void ConStop::mousePressEvent(QMouseEvent* event) { QWidget::mousePressEvent(event); }

Alert::Alert(QWidget* parent) : QWidget(parent) {}
Alert::~Alert() = default;
void Alert::Timer1_Timer() {}
void Alert::Command1_Click() {}

ConStop* ShowConStop() { return nullptr; }
Alert* ShowAlert(const QString&) { return nullptr; }
ConStop* ConStopWindow() { return nullptr; }
Alert* AlertWindow() { return nullptr; }
void UnloadAlert() {}

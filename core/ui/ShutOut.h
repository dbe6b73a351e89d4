#pragma once
// A control that would start a wait of a kind is disabled while one of that kind runs, for the control's
// life: its click is refused where it is seen.
#include "core/Waits.h"

class QAction;
class QWidget;

void ShutOutDuring(QWidget* control, Wait kind);
void ShutOutDuring(QAction* action, Wait kind);

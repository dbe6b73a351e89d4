// TEMPORARY until the budgets branch lands
#include "recording/OverviewValues.h"
#include "recording/RecordingBudgets.h"
QString FreeAllowanceLeft(const QString&) { return "-"; }
void RecordingBudgets::GetBudget() {}
void RecordingBudgets::GetNewBudget(bool) {}
void RecordingBudgets::ShowRestBudget(double) {}

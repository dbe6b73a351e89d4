#pragma once
// The counter page's one-line switch files and the test whether a tariff update check is due.
#include <QString>

// Reads the first line of Config/<name> as a whole number; a missing file or line gives 0.
int LoadSwitchFile(const QString& name);
// Writes Config/<name> whole with the value in print form (" 1"), creating Config when missing.
void SaveSwitchFile(const QString& name, int value);

// Config/Monitoring.cfg: automatic detection on (1) or off (0).
void SaveMonitoringConfig(int value);

// True when automatic tariff updates are on and their interval (at least 7 days) has passed
// since the date in Config/Update.cfg; no Update.cfg means due.
bool LoadAutoupdateConfig();

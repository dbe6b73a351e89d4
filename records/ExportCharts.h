#pragma once
// The month charts of the HTML export are drawn by the diagram window, which registers here; without it
// the export offers no charts.
#include <QString>

#include <functional>

struct ExportChartRequest {
    int monthIndex = 0; // 0 = January
    int yearIndex = 0;  // 0 = 2001
    int userIndex = 0;  // the list's filter selections, in the diagram window's matching lists
    int providerIndex = 0;
    int tariffIndex = 0;
    QString durationPath; // BMP of the minutes online
    QString transferPath; // BMP of the megabytes
};

// Draws both charts and saves them; false when a selection does not exist or a picture cannot be saved.
using ExportChartsFunction = std::function<bool(const ExportChartRequest&)>;

void SetExportCharts(ExportChartsFunction draw); // an empty function unregisters
const ExportChartsFunction& ExportCharts();

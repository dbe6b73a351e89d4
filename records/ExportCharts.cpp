#include "records/ExportCharts.h"

namespace {
ExportChartsFunction& charts()
{
    static ExportChartsFunction f;
    return f;
}
} // namespace

void SetExportCharts(ExportChartsFunction draw)
{
    charts() = std::move(draw);
}
const ExportChartsFunction& ExportCharts()
{
    return charts();
}

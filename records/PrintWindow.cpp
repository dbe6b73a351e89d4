#include "records/PrintWindow.h"

namespace {
PrintWindowFunction& printWindow()
{
    static PrintWindowFunction open;
    return open;
}
} // namespace

void SetPrintWindow(PrintWindowFunction open) { printWindow() = std::move(open); }

const PrintWindowFunction& PrintWindow() { return printWindow(); }

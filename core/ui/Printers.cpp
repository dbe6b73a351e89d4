// Printing is the windows' alone: the facility lives with them, not in the platform layer.
#include "core/ui/Printers.h"

#include "core/ui/CupsPrinters.h"

namespace {
Printers* g_printers = nullptr;
}

Printers& ThePrinters()
{
    static CupsPrinters system;
    return g_printers ? *g_printers : system;
}
void SetPrinters(Printers* printers) { g_printers = printers; }

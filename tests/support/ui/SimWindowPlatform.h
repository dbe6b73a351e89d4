#pragma once
// The simulated platform with the printers, which only the windows use.
#include "core/ui/Printers.h"
#include "core/ui/SimPrinters.h"
#include "support/SimPlatform.h"

struct SimWindowPlatform : SimPlatform {
    SimWindowPlatform() { SetPrinters(&printers); }
    ~SimWindowPlatform() { SetPrinters(nullptr); }
    SimPrinters printers;
};

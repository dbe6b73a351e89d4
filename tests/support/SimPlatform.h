#pragma once
// Installs the simulated platform for one test and puts the real one back afterwards (the printers are
// the windows': support/ui/SimWindowPlatform.h).
#include "core/platform/ConnectedState.h"
#include "core/platform/HostAddresses.h"
#include "core/platform/PhoneBook.h"
#include "core/platform/ProgramStarter.h"
#include "core/platform/SessionAutostart.h"
#include "core/platform/TaskList.h"
#include "core/platform/TrafficCounters.h"
#include "core/platform/sim/SimConnectedState.h"
#include "core/platform/sim/SimHostAddresses.h"
#include "core/platform/sim/SimPhoneBook.h"
#include "core/platform/sim/SimProgramStarter.h"
#include "core/platform/sim/SimSessionAutostart.h"
#include "core/platform/sim/SimTaskList.h"
#include "core/platform/sim/SimTrafficCounters.h"

struct SimPlatform {
    SimPlatform()
    {
        SetPhoneBook(&phoneBook);
        SetTrafficCounters(&counters);
        SetConnectedState(&connected);
        SetHostAddresses(&addresses);
        SetProgramStarter(&programs);
        SetSessionAutostart(&autostart);
        SetTaskList(&taskList);
    }
    ~SimPlatform()
    {
        SetPhoneBook(nullptr);
        SetTrafficCounters(nullptr);
        SetConnectedState(nullptr);
        SetHostAddresses(nullptr);
        SetProgramStarter(nullptr);
        SetSessionAutostart(nullptr);
        SetTaskList(nullptr);
    }
    SimPhoneBook phoneBook;
    SimTrafficCounters counters;
    SimConnectedState connected;
    SimHostAddresses addresses;
    SimProgramStarter programs;
    SimSessionAutostart autostart;
    SimTaskList taskList;
};

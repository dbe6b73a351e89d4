#pragma once
// Scripted pages, and a step run while each download waits, as the timers would run then.
#include "core/platform/sim/SimDownloader.h"

#include <functional>

struct WaitingDownloader : SimDownloader {
    bool download(const QString& url, const QString& localFile) override
    {
        if (during) during(url);
        return SimDownloader::download(url, localFile);
    }
    std::function<void(const QString&)> during;
};

#pragma once
// Scripted pages, and a step run while each download waits, as the timers and clicks would run then. A
// download asked for while one waits is refused, as the system's downloader refuses it.
#include "core/platform/sim/SimDownloader.h"

#include <functional>

struct WaitingDownloader : SimDownloader {
    bool download(const QString& url, const QString& localFile) override
    {
        if (m_waiting) {
            refused << url;
            return false;
        }
        m_waiting = true;
        if (during) during(url);
        m_waiting = false;
        return SimDownloader::download(url, localFile);
    }
    std::function<void(const QString&)> during;
    QStringList refused;

private:
    bool m_waiting = false;
};

#pragma once
#include "core/platform/Downloader.h"

// HTTP download through Qt Network. The calling thread waits in a local event loop, so windows and
// timers keep running; a download started while one is waiting is refused rather than nested.
class QtDownloader : public Downloader {
public:
    explicit QtDownloader(int timeoutMs = 30000) : m_timeoutMs(timeoutMs) {}
    bool isAvailable() const override { return true; }
    bool download(const QString& url, const QString& localFile) override;

    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    int timeoutMs() const { return m_timeoutMs; }

private:
    int m_timeoutMs;
    bool m_busy = false;
};

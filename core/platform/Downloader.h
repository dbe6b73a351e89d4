#pragma once
// Fetches one URL into a local file. The file is replaced only by a complete download.
#include <QString>

class Downloader {
public:
    virtual ~Downloader() = default;
    virtual bool isAvailable() const = 0;
    virtual bool download(const QString& url, const QString& localFile) = 0;
};

Downloader& TheDownloader();
void SetDownloader(Downloader* downloader); // nullptr restores the system's; the caller keeps ownership

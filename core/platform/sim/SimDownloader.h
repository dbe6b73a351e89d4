#pragma once
#include "core/platform/Downloader.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QStringList>

// Scripted downloads: a URL in `pages` is written to the target file, any other URL fails and
// leaves the target untouched. Every request is recorded as "url -> file".
class SimDownloader : public Downloader {
public:
    bool isAvailable() const override { return available; }
    bool download(const QString& url, const QString& localFile) override
    {
        calls << url + QStringLiteral(" -> ") + localFile;
        const auto it = pages.constFind(url);
        if (it == pages.constEnd()) return false;
        QFile file(localFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        return file.write(*it) == it->size();
    }

    bool available = true;
    QMap<QString, QByteArray> pages;
    QStringList calls;
};

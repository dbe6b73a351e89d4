#pragma once
// The machine's own /proc and /sys files, read the plain way (read() to the end), to hold the program's
// readers against: such files report size 0 and change under the reader.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <QStringList>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <functional>

// The whole file; empty when it cannot be opened.
inline QByteArray ReadToEnd(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

// The names opened in a folder while `look` runs; "" is the folder itself, which a listing opens.
inline QStringList OpenedIn(const QString& folder, const std::function<void()>& look)
{
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, QFile::encodeName(folder).constData(), IN_OPEN) < 0) {
        ADD_FAILURE() << "no inotify";
        look();
        return {};
    }
    look();
    QStringList names;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        for (const char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            names << (event->mask & IN_Q_OVERFLOW ? QStringLiteral("(overflow)") : QFile::decodeName(event->name));
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(fd);
    return names;
}

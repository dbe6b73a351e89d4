#pragma once
// The machine's own /proc and /sys files, read the plain way (read() to the end), to hold the program's
// readers against: such files report size 0 and change under the reader.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

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

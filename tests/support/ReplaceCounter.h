#pragma once
// Counts the times a file of a folder is replaced (created or renamed into place), as the kernel reports it.
#include <QFile>
#include <QString>

#include <sys/inotify.h>
#include <unistd.h>

class ReplaceCounter {
public:
    explicit ReplaceCounter(const QString& folder)
    {
        m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO);
    }
    ~ReplaceCounter() { ::close(m_fd); }
    ReplaceCounter(const ReplaceCounter&) = delete;
    ReplaceCounter& operator=(const ReplaceCounter&) = delete;
    int count(const QString& name)
    {
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if (e->len && QFile::decodeName(e->name) == name) ++m_seen;
                p += sizeof(inotify_event) + e->len;
            }
        return m_seen;
    }

private:
    int m_fd = -1;
    int m_seen = 0;
};

#pragma once
// The overview page's note on its way to Note.dat: typing changes it many times a second, and each save
// replaces the file and syncs the disk, which stutters on a slow stick. A change is written at most once in
// each interval, and at once when the page goes or the program ends, so nothing typed is lost.
#include <QString>
#include <QTimer>

#include <optional>

class NoteSaver {
public:
    static constexpr int INTERVAL_MS = 500;

    NoteSaver();
    ~NoteSaver(); // writes what is pending
    NoteSaver(const NoteSaver&) = delete;
    NoteSaver& operator=(const NoteSaver&) = delete;

    // Takes the note as it reads now. False when it holds a character the code page cannot hold: it is not
    // taken, and the last note that can be stored is still written.
    bool changed(const QString& note);
    // Writes the pending note now; nothing when none is pending.
    void flush();

private:
    QTimer m_timer;
    std::optional<QString> m_pending;
};

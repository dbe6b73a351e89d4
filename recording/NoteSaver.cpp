#include "recording/NoteSaver.h"

#include "recording/OverviewFiles.h"

#include <QCoreApplication>

#include <utility>

NoteSaver::NoteSaver()
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(INTERVAL_MS);
    m_timer.callOnTimeout([this] { flush(); });
    // the main window may never be deleted when the program ends
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, &m_timer, [this] { flush(); });
}

NoteSaver::~NoteSaver()
{
    flush();
}

bool NoteSaver::changed(const QString& note)
{
    if (!NoteFitsCodePage(note)) return false;
    m_pending = note;
    // not restarted by each key: a long typing still reaches the disk every interval
    if (!m_timer.isActive()) m_timer.start();
    return true;
}

void NoteSaver::flush()
{
    m_timer.stop();
    if (!m_pending) return;
    const QString note = *std::exchange(m_pending, std::nullopt);
    SaveNoteText(note); // a note that cannot be written is only not kept, as before
}

#include "core/Dialing.h"

#include "core/BusyCursor.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "core/ProgramFolder.h"
#include "core/SystemUtils.h"
#include "core/TextFile.h"
#include "core/Waits.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

#include <functional>
#include <utility>

namespace {

int g_hangUpBound = 5000;
int g_dialStartWait = 400;
QSet<quint32> g_hangUpFailuresShown; // connections whose failed hang-up has been said
DialProgressWindow g_progressWindow;

// Waits until done() holds or boundMs have passed. The windows keep painting and serving clicks and every
// timer keeps ticking, with a busy cursor meanwhile. A wait asked for during another one (by a tick or a
// click) runs its own loop inside it and ends first, within its own bound: nothing sleeps. Returns whether
// done() held at the end.
bool WaitBounded(int boundMs, const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    if (done()) return true;
    if (boundMs <= 0 || !QCoreApplication::instance()) return false;
    const BusyCursor busy;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (clock.elapsed() >= boundMs || done()) loop.quit();
    });
    poll.start();
    loop.exec();
    return done();
}

bool isListed(quint32 handle)
{
    for (const RasConnInfo& c : ThePhoneBook().connections())
        if (c.hrasconn == handle) return true;
    return false;
}

QString askPassword(const QString& entryName)
{
    return InputBox(QStringLiteral("Bitte geben Sie das Passwort für die DFÜ Verbindung '%1' ein.").arg(entryName),
                    QStringLiteral("Passwortabfrage"), QString(), true);
}

quint32 dialFailed(const QString& entryName, quint32 handle)
{
    HangUpConnection(handle);
    UnloadDialProgressWindow();
    MsgBox(QStringLiteral("Die DFÜ Verbindung '%1' konnte nicht gewählt werden.").arg(entryName), vbExclamation);
    return 0;
}

} // namespace

std::optional<bool> ReadBooleanLine(const QString& line)
{
    const QString t = line.trimmed();
    if (t.compare(QLatin1String("Wahr"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("Falsch"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = QString(t).replace(',', '.').toDouble(&ok);
    if (!ok) return std::nullopt;
    return n != 0;
}

int SetHangUpWaitBound(int ms)
{
    const int old = g_hangUpBound;
    g_hangUpBound = ms;
    return old;
}

int SetDialStartWait(int ms)
{
    const int old = g_dialStartWait;
    g_dialStartWait = ms;
    return old;
}

int EnumRasConnections(QList<RasConnInfo>& conns)
{
    const QList<RasConnInfo> found = ThePhoneBook().connections();
    if (!found.isEmpty()) conns = found;
    return int(found.size());
}

int EnumRasEntries(QList<RasEntryInfo>& entries, const QString& phonebook)
{
    const QList<RasEntryInfo> found = ThePhoneBook().entries(phonebook);
    if (!found.isEmpty()) entries = found;
    return int(found.size());
}

quint32 GetEntryDialParams(RasDialInfo& info, const QString& phonebook, const QString& entryName,
                           SavedPassword& passwordSaved)
{
    return ThePhoneBook().entryDialParams(phonebook, entryName, info, passwordSaved);
}

quint32 GetRasConnectStatus(quint32 hRasConn, RasStatusInfo& status)
{
    return ThePhoneBook().connectStatus(hRasConn, status);
}

DialProgressWindow SetDialProgressWindow(DialProgressWindow window)
{
    std::swap(g_progressWindow, window);
    return window;
}

void LoadDialProgressWindow()
{
    if (g_progressWindow.load) g_progressWindow.load();
}

void UnloadDialProgressWindow()
{
    if (g_progressWindow.unload) g_progressWindow.unload();
}

bool DialUnderWay() { return WaitRunning(Wait::Dial); }

quint32 DialEntry(const QString& phonebook, const QString& entryName)
{
    // the windows serve clicks while a dial asks for its password or waits for pppd: one dial at a time,
    // and its progress window goes on holding it once this returns
    if (DialUnderWay()) return 0;
    const WaitUnderWay dialing(Wait::Dial);
    bool useWindows = true;
    const QString cfg = ProgramPath(QStringLiteral("DialUp/DialUp.cfg"));
    if (QFileInfo(cfg).isFile()) useWindows = ReadBooleanLine(LineReader(cfg).line(0)).value_or(true);

    RasDialInfo info;
    SavedPassword passwordSaved = SavedPassword::No;
    GetEntryDialParams(info, phonebook, entryName, passwordSaved);
    info.szEntryName = entryName;

    // Secrets the user may not read are the dialler's own: it is dialled without a password, and pppd
    // reads them itself, as a dial by hand does.
    if (useWindows && passwordSaved == SavedPassword::No) {
        const QString answer = askPassword(entryName);
        if (answer.isEmpty()) return 0;
        info.szPassword = answer;
    }
    if (!useWindows) {
        // A name that could leave the DialUp folder has no data file of its own.
        const QString dat = ProgramPath(QStringLiteral("DialUp/") + entryName + QStringLiteral(".dat"));
        if (IsSafeName(entryName) && QFileInfo(dat).isFile()) {
            const LineReader lines(dat);
            const QString user = DecryptString(lines.line(1)).mid(1);
            const QString password = DecryptString(lines.line(2)).mid(1);
            info.szPhoneNumber = lines.line(0).trimmed();
            info.szUserName = user;
            info.szPassword = password;
            if (user.trimmed().isEmpty()) {
                MsgBox(QStringLiteral("Sie haben in den DFÜ Einstellungen von Zumbrel keinen Benutzernamen für diese "
                                      "Verbindung angegeben. Bitte holen Sie dies nach, bevor Sie eine Verbindung mit "
                                      "Zumbrel aufbauen."),
                       vbExclamation);
                return 0;
            }
            if (password.trimmed().isEmpty()) {
                const QString answer = askPassword(entryName);
                if (answer.isEmpty()) return 0;
                info.szPassword = answer;
            }
        }
    }

    LoadDialProgressWindow();
    PhoneBook& book = ThePhoneBook();
    quint32 handle = 0;
    const quint32 result = book.dial(phonebook, info, handle);
    G_hRasConn = handle;
    if (result != RAS_SUCCESS) return dialFailed(entryName, handle);

    // pppd that cannot use its options or its device ends at once: that is a dial that did not start.
    bool ended = false;
    bool failed = false;
    const QMetaObject::Connection watch =
        QObject::connect(&book, &PhoneBook::dialEvent, [&](quint32 h, quint32 state, quint32) {
            if (h != handle) return;
            if (state == RASCS_Connected) ended = true;
            if (state == RASCS_Disconnected || state == RASCS_AuthNotify) ended = failed = true;
        });
    WaitBounded(g_dialStartWait, [&] { return ended; });
    QObject::disconnect(watch);
    if (failed) return dialFailed(entryName, handle);
    return handle;
}

bool HangUpConnection(quint32 hRasConn)
{
    PhoneBook& book = ThePhoneBook();
    QString entry;
    for (const RasConnInfo& c : book.connections())
        if (c.hrasconn == hRasConn) entry = c.szEntryName;
    const quint32 result = book.hangUp(hRasConn);
    const auto gone = [&] {
        RasStatusInfo status;
        return book.connectStatus(hRasConn, status) == ERROR_INVALID_HANDLE && !isListed(hRasConn);
    };
    // a link that cannot be ended (no pppd to signal, or one of another user) stays up and costs money
    const bool ended =
        result == ERROR_INVALID_HANDLE || (result == RAS_SUCCESS && WaitBounded(g_hangUpBound, gone));
    G_hRasConn = 0;
    if (!ended && !g_hangUpFailuresShown.contains(hRasConn)) {
        g_hangUpFailuresShown.insert(hRasConn); // once: the detection tries again every few seconds
        MsgBox(QStringLiteral("Die Verbindung '%1' konnte nicht getrennt werden.")
                   .arg(entry.isEmpty() ? QStringLiteral("unbekannt") : entry),
               vbExclamation);
    }
    return ended;
}

#include "recording/ui/Startup.h"

#include "core/Dialing.h"
#include "core/SignalPipe.h"
#include "core/ui/DeletionGuard.h"
#include "core/ui/Status.h"
#include "core/ui/WidgetDialogs.h"
#include "recording/Prelaunch.h"
#include "recording/ui/Form1.h"

#include <QApplication>
#include <QPointer>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {
int g_signalPipe[2] = {-1, -1};

void onSignal(int signal) { SendSignalByte(g_signalPipe[0], signal); }

void onSignalAfterTheRun(int) {}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

// SIGTERM and SIGHUP end the session, and Ctrl+C (SIGINT) ends the program the same way: a signal handler
// may do next to nothing, so it only writes a byte that the event loop reads, in whichever loop runs then (a
// message box's, a wait's). A SIGINT or SIGHUP ignored from the start (a script's background job, nohup)
// stays ignored. After the run the program is ending already: a second signal must not kill it on its way
// out (status 143 or 129 instead of 0), so the signals then do nothing. A handler rather than SIG_IGN, which
// a program started later would inherit.
class SessionSignals {
public:
    explicit SessionSignals(std::function<void()> onEnd)
    {
        if (!MakeSignalPipe(g_signalPipe)) return;
        m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[1], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [onEnd] {
            char byte = 0;
            while (::read(g_signalPipe[1], &byte, 1) > 0) {}
            onEnd();
        });
        for (Handled& h : m_handled) {
            struct sigaction old = {};
            sigaction(h.signal, nullptr, &old);
            h.installed = h.signal == SIGTERM || old.sa_handler != SIG_IGN;
            if (h.installed) setHandler(h.signal, onSignal);
        }
    }
    ~SessionSignals()
    {
        if (!m_notifier) return;
        for (const Handled& h : m_handled)
            if (h.installed) setHandler(h.signal, onSignalAfterTheRun);
        m_notifier.reset();
        for (int& fd : g_signalPipe) {
            ::close(fd);
            fd = -1;
        }
    }

private:
    struct Handled {
        int signal;
        bool installed = false;
    };
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handled m_handled[3] = {{SIGTERM}, {SIGHUP}, {SIGINT}};
};
} // namespace

Form1* Prelaunch_Form_Load(InstanceLock& lock, const std::function<void(Form1&)>& beforeLoad)
{
    if (!Prelaunch_Start(lock)) return nullptr;
    Form1* form = Form1::instance();
    if (beforeLoad) beforeLoad(*form);
    form->Form_Load();
    return form;
}

int RunZumbrel(QApplication& app, const QString& lockFile)
{
    // Qt's own dialogs (file dialogs, page set-up) speak German like the rest, whatever the system's language.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtGerman);
    QApplication::setApplicationName("Zumbrel");
    // The main window ends the program when it has closed; hidden in the tray it is no last window.
    app.setQuitOnLastWindowClosed(false);
    WidgetDialogs dialogs;
    SetDefaultDialogHandler(&dialogs);
    InstallDialProgressWindow();
    StandardErrorDialogs unattended;
    const DeletionGuard deletions;
    // The end ends every event loop at once, nested ones included; the windows go after the main loop.
    bool ended = false;
    const auto end = [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    };
    // From the start on: a logout during the login must end the program too. Nobody answers a box then.
    const SessionSignals sessionSignals([&end, &unattended] {
        SetDefaultDialogHandler(&unattended);
        if (Form1::exists()) Form1::instance()->sessionEnd();
        else end();
    });
    InstanceLock lock(lockFile.isEmpty() ? InstanceLock::defaultPath() : lockFile);
    const QPointer<Form1> form = Prelaunch_Form_Load(lock, [&](Form1& main) {
        QObject::connect(&main, &Form1::closed, &app, end);
        // The session manager asks for the data first: the recording is stored, nothing is closed yet, and
        // the logout does not wait for a box of the stop.
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &main, [&](QSessionManager&) {
            SetDefaultDialogHandler(&unattended);
            main.commitData();
            if (!ended) SetDefaultDialogHandler(&dialogs);
        });
    });
    const int result = form && !ended ? app.exec() : 0;
    delete form.data();
    SetDialProgressWindow({});
    SetDefaultDialogHandler(nullptr);
    return result;
}

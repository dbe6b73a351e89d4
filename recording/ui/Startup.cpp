#include "recording/ui/Startup.h"

#include "core/SignalPipe.h"
#include "core/ui/DeletionGuard.h"
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

void onSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &byte, 1);
}

// SIGTERM and SIGHUP end the session: a signal handler may do next to nothing, so it only writes a
// byte that the event loop reads, in whichever loop runs then (a message box's, a wait's).
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
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, &m_oldTerm);
        sigaction(SIGHUP, &action, &m_oldHup);
    }
    ~SessionSignals()
    {
        if (!m_notifier) return;
        sigaction(SIGTERM, &m_oldTerm, nullptr);
        sigaction(SIGHUP, &m_oldHup, nullptr);
        m_notifier.reset();
        for (int& fd : g_signalPipe) {
            ::close(fd);
            fd = -1;
        }
    }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_oldTerm = {}, m_oldHup = {};
};
} // namespace

Form1* Prelaunch_Form_Load(InstanceLock& lock)
{
    if (!Prelaunch_Start(lock)) return nullptr;
    Form1* form = Form1::instance();
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
    const DeletionGuard deletions;
    // The end ends every event loop at once, nested ones included; the windows go after the main loop.
    bool ended = false;
    const auto end = [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    };
    // From the start on: a logout during the login must end the program too.
    const SessionSignals sessionSignals([&end] {
        if (Form1::exists()) Form1::instance()->sessionEnd();
        else end();
    });
    InstanceLock lock(lockFile.isEmpty() ? InstanceLock::defaultPath() : lockFile);
    int result = 0;
    if (Prelaunch_Start(lock)) {
        QPointer<Form1> form = Form1::instance();
        QObject::connect(form, &Form1::closed, &app, end);
        // The session manager asks for the data first: the recording is stored, nothing is closed yet.
        QObject::connect(&app, &QGuiApplication::commitDataRequest, form,
                         [form](QSessionManager&) { form->commitData(); });
        form->Form_Load();
        if (!ended) result = app.exec();
        delete form.data();
    }
    SetDefaultDialogHandler(nullptr);
    return result;
}

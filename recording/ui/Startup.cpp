#include "recording/ui/Startup.h"

#include "core/SignalPipe.h"
#include "core/ui/WidgetDialogs.h"
#include "recording/Prelaunch.h"
#include "recording/ui/Form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <unistd.h>

namespace {
int g_signalPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[0], &byte, 1);
}

// SIGTERM and SIGHUP end the session: a signal handler may do next to nothing, so it only writes a
// byte that the event loop reads.
void watchSessionSignals(Form1* form)
{
    if (!MakeSignalPipe(g_signalPipe)) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, form);
    QObject::connect(notifier, &QSocketNotifier::activated, form, [form] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[1], &byte, 1);
        form->sessionEnd();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}
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
    InstanceLock lock(lockFile.isEmpty() ? InstanceLock::defaultPath() : lockFile);
    Form1* form = Prelaunch_Form_Load(lock);
    if (!form) return 0;
    QObject::connect(form, &Form1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // The session manager asks for the data first: the recording is stored, nothing is closed yet.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, form, [form](QSessionManager&) { form->commitData(); });
    watchSessionSignals(form);
    const int result = app.exec();
    SetDefaultDialogHandler(nullptr);
    return result;
}

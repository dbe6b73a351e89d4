#include "core/Dialogs.h"

#include "core/Globals.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <deque>

namespace {
DialogHandler* g_handler = nullptr;
DialogHandler* g_default = nullptr;

DialogHandler* current() { return g_handler ? g_handler : g_default; }

int g_ticks = 0;                      // ticks running, nested ones included
std::deque<MessageRequest> g_waiting; // their boxes, still to be shown
bool g_showing = false;

void showWaitingBoxes()
{
    if (g_showing) return; // a box is open: the boxes after it follow once it has been answered
    g_showing = true;
    while (!g_waiting.empty()) {
        const MessageRequest r = g_waiting.front();
        g_waiting.pop_front();
        if (DialogHandler* h = current()) h->messageBox(r);
    }
    g_showing = false;
}
} // namespace

TickMessages::TickMessages() { ++g_ticks; }

TickMessages::~TickMessages()
{
    if (--g_ticks > 0 || g_waiting.empty()) return;
    if (QCoreApplication* app = QCoreApplication::instance()) QTimer::singleShot(0, app, showWaitingBoxes);
}

void DiscardTickMessages() { g_waiting.clear(); }

int EscapeAnswer(const MessageRequest& request)
{
    const int buttons = request.buttons();
    return buttons >= vbOKCancel && buttons <= vbRetryCancel ? vbCancel : vbOK;
}

int StandardErrorDialogs::messageBox(const MessageRequest& request)
{
    std::fprintf(stderr, "%s: %s\n", request.title.toUtf8().constData(), request.text.toUtf8().constData());
    return EscapeAnswer(request);
}

QString StandardErrorDialogs::inputBox(const InputRequest&) { return {}; }

void SetDialogHandler(DialogHandler* handler) { g_handler = handler; }
void SetDefaultDialogHandler(DialogHandler* handler) { g_default = handler; }

int MsgBox(const QString& text, int style, const QString& title)
{
    MessageRequest r{text, style, title.isEmpty() ? APP_TITLE : title};
    if (g_ticks > 0 && r.buttons() == vbOKOnly && QCoreApplication::instance()) {
        g_waiting.push_back(r);
        return vbOK;
    }
    DialogHandler* h = current();
    if (!h) return (style & 7) == vbYesNo || (style & 7) == vbYesNoCancel ? vbNo : vbOK;
    return h->messageBox(r);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, bool masked)
{
    InputRequest r{prompt, title.isEmpty() ? APP_TITLE : title, defaultText, masked};
    DialogHandler* h = current();
    return h ? h->inputBox(r) : QString();
}

QStringList OpenFiles(const OpenFileRequest& request)
{
    DialogHandler* h = current();
    return h ? h->openFiles(request) : QStringList();
}

QString SaveFile(const SaveFileRequest& request)
{
    DialogHandler* h = current();
    return h ? h->saveFile(request) : QString();
}

#include "core/Dialogs.h"

#include "core/Globals.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <deque>

namespace {
DialogHandler* g_handler = nullptr;
DialogHandler* g_default = nullptr;

DialogHandler* current() { return g_handler ? g_handler : g_default; }

struct WaitingBox {
    MessageRequest request;
    int level; // the loop level of the tick's code that raised it
};
std::deque<WaitingBox> g_waiting; // the ticks' boxes, still to be shown
bool g_showing = false;

void showWaitingBoxes()
{
    if (g_showing) return; // a box is open: the boxes after it follow once it has been answered
    g_showing = true;
    for (;;) {
        // a box waits as long as any tick runs at the level of the code that raised it or below: shown
        // inside a waiting tick's loop, it would hold that wait until a person answered
        const auto free = std::find_if(g_waiting.begin(), g_waiting.end(),
                                       [](const WaitingBox& box) { return !TickRunsAtOrBelow(box.level); });
        if (free == g_waiting.end()) break;
        const MessageRequest r = free->request;
        g_waiting.erase(free);
        if (DialogHandler* h = current()) h->messageBox(r);
    }
    g_showing = false;
}
} // namespace

TickMessages::~TickMessages()
{
    if (g_waiting.empty()) return;
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
    const int level = CurrentLoopLevel();
    if (r.buttons() == vbOKOnly && QCoreApplication::instance() && TickCodeRunsAt(level)) {
        g_waiting.push_back({r, level});
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

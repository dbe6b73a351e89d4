#include "core/Dialogs.h"

#include "core/Globals.h"

namespace {
DialogHandler* g_handler = nullptr;
DialogHandler* g_default = nullptr;

DialogHandler* current() { return g_handler ? g_handler : g_default; }
} // namespace

void SetDialogHandler(DialogHandler* handler) { g_handler = handler; }
void SetDefaultDialogHandler(DialogHandler* handler) { g_default = handler; }

int MsgBox(const QString& text, int style, const QString& title)
{
    MessageRequest r{text, style, title.isEmpty() ? APP_TITLE : title};
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

#pragma once
// Every message box and input box of the program goes through these two functions, so that tests can
// answer them from a script and no test ever blocks on a modal dialog.
#include "core/Waits.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Buttons and icons are added together as in the original ("vbYesNo + vbQuestion").
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct MessageRequest {
    QString text;
    int style = vbOKOnly; // buttons + icon
    QString title;        // the program's title when none is given
    int buttons() const { return style & 7; }
    int icon() const { return style & 0x70; }
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
    bool masked = false; // password prompts
};

// One description and its patterns ("*.exe;*.com"), as the file dialog's type list shows them.
struct FileFilter {
    QString description;
    QString pattern;
};

struct OpenFileRequest {
    QWidget* owner = nullptr;
    bool centreOnOwner = false; // else centred on the screen
    QString title;
    QString initialFolder;
    QString initialFile; // the last answer, shown again
    QList<FileFilter> filters;
    int filterIndex = 0; // the filter chosen first
};

struct SaveFileRequest {
    QWidget* owner = nullptr;
    QString title;
    QList<FileFilter> filters;
    QString defaultSuffix; // appended to a name typed without one ("htm")
    // The caller asks itself before replacing a file; the dialog does not.
};

class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual int messageBox(const MessageRequest& request) = 0;
    virtual QString inputBox(const InputRequest& request) = 0; // Cancel gives the empty text
    // Full paths of the chosen files, in the dialog's order; Cancel gives none.
    virtual QStringList openFiles(const OpenFileRequest& request)
    {
        Q_UNUSED(request);
        return {};
    }
    // Full path of the file to write; Cancel gives the empty text.
    virtual QString saveFile(const SaveFileRequest& request)
    {
        Q_UNUSED(request);
        return {};
    }
};

// The answer of a box closed without a button (Escape, its window closed, the program's end): Abbrechen
// where the box has more than one button, else OK.
int EscapeAnswer(const MessageRequest& request);

// When nobody is there to answer (the session ends): each box's text goes to standard error and the box
// gives its escape answer; an input box gives the empty text.
class StandardErrorDialogs : public DialogHandler {
public:
    int messageBox(const MessageRequest& request) override;
    QString inputBox(const InputRequest& request) override;
};

// The handler that answers every box; nullptr restores the default (real dialogs, installed by the
// program's start). The caller keeps ownership.
void SetDialogHandler(DialogHandler* handler);
void SetDefaultDialogHandler(DialogHandler* handler);

int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());

// A tick (the detection, the billing, a countdown) never waits for a person: a message box with only an OK
// button that the tick's own code raises is shown once the tick has returned, and once every tick it ran
// inside the wait of has returned too; MsgBox answers vbOK at once. The boxes come in the order they were
// raised, one after the other. A question is still asked at once, and so is every box of a click served
// while the tick waits (for the web, for a hang-up).
class TickMessages {
public:
    TickMessages() = default;
    ~TickMessages();
    TickMessages(const TickMessages&) = delete;
    TickMessages& operator=(const TickMessages&) = delete;

private:
    WaitUnderWay m_tick{Wait::Tick};
};
// Forgets the boxes not yet shown (a test's end).
void DiscardTickMessages();
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString(),
                 bool masked = false);
QStringList OpenFiles(const OpenFileRequest& request);
QString SaveFile(const SaveFileRequest& request);

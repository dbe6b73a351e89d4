#include "core/ui/WidgetDialogs.h"

#include "core/ui/ElidedLabel.h"
#include "core/ui/OpenFileDialog.h"
#include "core/ProgramIcon.h"
#include "core/ui/WindowUtils.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {
// No word of the program's own texts is this wide; a wider one is a name (a printer's) that may wrap
// within itself.
constexpr int LONGEST_WORD_CHARACTERS = 40;
// A prompt of a few sentences wraps at about this many average characters.
constexpr int PROMPT_CHARACTERS = 50;

// The text with a break opportunity (a zero-width space) after each character of a word wider than a
// word can be: a message box wraps only between words.
QString BreakableWords(const QString& text, const QFontMetrics& fm)
{
    static const QRegularExpression word(QStringLiteral("\\S+"));
    const int widest = fm.averageCharWidth() * LONGEST_WORD_CHARACTERS;
    QString shown;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& m : word.globalMatch(text)) {
        shown += text.mid(last, m.capturedStart() - last);
        if (fm.horizontalAdvance(m.captured()) <= widest) {
            shown += m.captured();
        } else {
            for (const QChar c : m.captured()) {
                shown += c;
                if (!c.isHighSurrogate()) shown += QChar(0x200B);
            }
        }
        last = m.capturedEnd();
    }
    return shown + text.mid(last);
}
} // namespace

std::unique_ptr<QMessageBox> NewMessageBox(const MessageRequest& r)
{
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    // set on the box itself: one without an owner (no window active, the main window in the tray) has none
    box->setWindowIcon(ProgramIcon());
    box->setWindowTitle(r.title);
    box->setText(BreakableWords(r.text, box->fontMetrics()));
    switch (r.icon()) {
    case vbCritical: box->setIcon(QMessageBox::Critical); break;
    case vbQuestion: box->setIcon(QMessageBox::Question); break;
    case vbExclamation: box->setIcon(QMessageBox::Warning); break;
    case vbInformation: box->setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct B { QMessageBox::StandardButton qt; int vb; };
    QList<B> buttons;
    switch (r.buttons()) {
    case vbOKCancel: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore:
        buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
        break;
    case vbYesNoCancel:
        buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
        break;
    case vbYesNo: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: buttons = {{QMessageBox::Ok, vbOK}}; break;
    }
    static const QMap<QMessageBox::StandardButton, QString> german = {
        {QMessageBox::Ok, "OK"},         {QMessageBox::Cancel, "Abbrechen"}, {QMessageBox::Yes, "Ja"},
        {QMessageBox::No, "Nein"},       {QMessageBox::Abort, "Abbrechen"},  {QMessageBox::Retry, "Wiederholen"},
        {QMessageBox::Ignore, "Ignorieren"}};
    for (const B& b : buttons) {
        QPushButton* button = box->addButton(b.qt);
        button->setText(german.value(b.qt));
        button->setProperty("answer", b.vb);
    }
    return box;
}

namespace {
// The box has a parent (the active window), which may go while the box runs: then the parent has freed
// it, and the box is not freed a second time.
template <typename Box> bool ranToItsEnd(std::unique_ptr<Box>& box)
{
    const QPointer<Box> alive(box.get());
    box->exec();
    if (alive) return true;
    (void)box.release();
    return false;
}
} // namespace

int WidgetDialogs::messageBox(const MessageRequest& r)
{
    std::unique_ptr<QMessageBox> box = NewMessageBox(r);
    // closed without a button: the escape button's answer, as the original's box gives
    const int escape = EscapeAnswer(r);
    if (!ranToItsEnd(box)) return escape;
    if (const QAbstractButton* clicked = box->clickedButton()) return clicked->property("answer").toInt();
    return escape;
}

InputBoxDialog::InputBoxDialog(const InputRequest& r, QWidget* parent) : QDialog(parent)
{
    setWindowIcon(ProgramIcon());
    setWindowTitle(r.title);
    prompt = new ElidedLabel(r.prompt, this, 0);
    prompt->setPreferredCharacters(PROMPT_CHARACTERS);
    KeepRoomForUmlauts(prompt);
    text = new QLineEdit(r.defaultText, this);
    text->setEchoMode(r.masked ? QLineEdit::Password : QLineEdit::Normal);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(QStringLiteral("OK"));
    cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(text);
    layout->addWidget(buttons);
    text->setFocus();
}

std::unique_ptr<InputBoxDialog> NewInputBox(const InputRequest& r)
{
    return std::make_unique<InputBoxDialog>(r, QApplication::activeWindow());
}

QString WidgetDialogs::inputBox(const InputRequest& r)
{
    std::unique_ptr<InputBoxDialog> dlg = NewInputBox(r);
    if (!ranToItsEnd(dlg)) return {};
    return dlg->result() == QDialog::Accepted ? dlg->text->text() : QString();
}

QStringList WidgetDialogs::openFiles(const OpenFileRequest& request) { return RunOpenFileDialog(request); }

QString WidgetDialogs::saveFile(const SaveFileRequest& request) { return RunSaveFileDialog(request); }

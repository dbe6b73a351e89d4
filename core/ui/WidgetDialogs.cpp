#include "core/ui/WidgetDialogs.h"

#include "core/ui/OpenFileDialog.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

int WidgetDialogs::messageBox(const MessageRequest& r)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(r.title);
    box.setText(r.text);
    switch (r.icon()) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
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
    for (const B& b : buttons) box.addButton(b.qt)->setText(german.value(b.qt));
    const auto answer = QMessageBox::StandardButton(box.exec());
    for (const B& b : buttons)
        if (b.qt == answer) return b.vb;
    return buttons.size() > 1 ? vbCancel : vbOK;
}

QString WidgetDialogs::inputBox(const InputRequest& r)
{
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(r.title);
    dlg.setLabelText(r.prompt);
    dlg.setTextValue(r.defaultText);
    dlg.setTextEchoMode(r.masked ? QLineEdit::Password : QLineEdit::Normal);
    dlg.setOkButtonText("OK");
    dlg.setCancelButtonText("Abbrechen");
    return dlg.exec() == QDialog::Accepted ? dlg.textValue() : QString();
}

QStringList WidgetDialogs::openFiles(const OpenFileRequest& request) { return RunOpenFileDialog(request); }

QString WidgetDialogs::saveFile(const SaveFileRequest& request) { return RunSaveFileDialog(request); }

#pragma once
#include "core/Dialogs.h"

#include <QDialog>

#include <memory>

class ElidedLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;

// Real message, input and file boxes (QMessageBox, QInputDialog, QFileDialog).
class WidgetDialogs : public DialogHandler {
public:
    int messageBox(const MessageRequest& request) override;
    QString inputBox(const InputRequest& request) override;
    QStringList openFiles(const OpenFileRequest& request) override;
    QString saveFile(const SaveFileRequest& request) override;
};

// The input box: the prompt wraps (a long name in it too), the text box and the buttons below.
class InputBoxDialog : public QDialog {
    Q_OBJECT
public:
    explicit InputBoxDialog(const InputRequest& request, QWidget* parent = nullptr);
    ElidedLabel* prompt = nullptr;
    QLineEdit* text = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

// The boxes as the handler shows them, built apart from their modal run so that their look can be checked.
// Each button of a message box carries its answer (vbOK, vbYes, ...) as the property "answer".
std::unique_ptr<QMessageBox> NewMessageBox(const MessageRequest& request);
std::unique_ptr<InputBoxDialog> NewInputBox(const InputRequest& request);

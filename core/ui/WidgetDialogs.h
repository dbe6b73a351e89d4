#pragma once
#include "core/Dialogs.h"

// Real message, input and file boxes (QMessageBox, QInputDialog, QFileDialog).
class WidgetDialogs : public DialogHandler {
public:
    int messageBox(const MessageRequest& request) override;
    QString inputBox(const InputRequest& request) override;
    QStringList openFiles(const OpenFileRequest& request) override;
    QString saveFile(const SaveFileRequest& request) override;
};

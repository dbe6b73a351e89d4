#pragma once
#include "core/Dialogs.h"

// Real message and input boxes (QMessageBox, QInputDialog).
class WidgetDialogs : public DialogHandler {
public:
    int messageBox(const MessageRequest& request) override;
    QString inputBox(const InputRequest& request) override;
};

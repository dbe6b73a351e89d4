#include "users/ui/Login.h"

#include <QCloseEvent>

// Skeleton: the controls and the password test follow.
Login::Login(std::function<void(const QString&)> makeActive, const QString& preselect, QWidget* parent)
    : QDialog(parent), m_makeActive(std::move(makeActive)), m_preselect(preselect)
{
}
bool Login::Form_Load() { return false; }
void Login::GetUsers() {}
void Login::Command1_Click() {}
void Login::Command2_Click() {}
void Login::reject() {}
void Login::closeEvent(QCloseEvent* event) { event->ignore(); }

void ShowLogin(std::function<void(const QString&)>, const QString&, QWidget*) {}

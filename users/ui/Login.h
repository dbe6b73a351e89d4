#pragma once
// The login dialog of the start-up: pick a user, type the password; it closes only on the right one,
// and its cancel ends the program.
#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

class Login : public QDialog {
    Q_OBJECT
public:
    // `makeActive` names the chosen user as the main window's tag, G_ActiveUser and status text; it runs
    // before the password test. `preselect` is the main window's tag.
    Login(std::function<void(const QString&)> makeActive, const QString& preselect, QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    QLineEdit* Text1 = nullptr;    // password, masked
    QPushButton* Command1 = nullptr; // "O&K", default
    QPushButton* Command2 = nullptr; // "A&bbrechen"

    // Fills the list; false when there is no user (the caller then goes on without a login).
    bool Form_Load();
    void GetUsers();
    void Command1_Click();
    void Command2_Click(); // EndProgram()

protected:
    void reject() override;                 // Escape acts as "A&bbrechen"
    void closeEvent(QCloseEvent* event) override; // so does the close button

private:
    std::function<void(const QString&)> m_makeActive;
    QString m_preselect;
};

// Shows the dialog modally when there is a user to choose; returns when a correct password was given
// (or at once with no user). Its cancel ends the program through EndProgram().
void ShowLogin(std::function<void(const QString&)> makeActive, const QString& preselect, QWidget* parent);

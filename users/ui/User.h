#pragma once
// The user settings page: one user at a time with its password, restrictions and minute limits. The
// user chosen here becomes the program's active user; a user with a password is shown only once it
// was given. Every change is saved at once.
#include <QString>
#include <QWidget>

class Form1;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
struct UserRecord;

class User : public QWidget {
    Q_OBJECT
public:
    User(Form1& mainWindow, QWidget* parent = nullptr);

    QFrame* wndUser = nullptr;
    QLabel* lblTitel = nullptr;
    QComboBox* comUser = nullptr;
    QLineEdit* txtUserPassword = nullptr;
    QCheckBox* chkUser[9] = {};
    QLineEdit* txtTimeLimit = nullptr;  // minutes per day, in the gap of chkUser(7)'s caption
    QLineEdit* txtTimeLimit2 = nullptr; // minutes per month, in the gap of chkUser(8)'s caption
    QLabel* lblHilfe = nullptr;
    QPushButton* cmdUser[2] = {};

    void Form_Load();
    void DeactivateUsers();
    void ActivateUsers();
    // Shows the user named in comUser; false when it is not shown (the list went back or shows none).
    bool SelectUser();
    void NewUser();
    void DeleteUser();
    void SaveUser();
    void GetUsers(const QString& name = QString());

    void comUser_Click();
    void chkUser_Click(int index);
    void txtTimeLimit_LostFocus();
    void txtTimeLimit2_LostFocus();
    void txtUserPassword_Change();
    void cmdUser_Click(int index);
    void lblHilfe_Click();

private:
    void buildControls();
    void showRecord(const UserRecord& record);
    void returnToShownUser();
    UserRecord recordOfControls() const;
    bool floorMinutes(QLineEdit* box);

    Form1& m_main;
    bool m_loading = false;
    bool m_asking = true;  // whether a user with a password is asked for it
    QString m_shownUser;   // the user whose values the controls hold, and the active user
    QString m_restoreUser; // the user being put back: asked for no password
};

// The page the navigation item "Benutzer" opens.
QWidget* CreateUserPage(Form1& mainWindow);

#pragma once
// The settings page "Budgeteinstellungen": day, month and period budget per user or one for all users,
// the warning options, and what is left of each budget. Every change is saved at once.
#include <QWidget>

class Form1;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QScrollBar;

class Budget : public QWidget {
    Q_OBJECT
public:
    explicit Budget(Form1& mainWindow, QWidget* parent = nullptr);

    // Controls; index 1 of the amount boxes and bars does not exist.
    QLabel* lblTitel = nullptr;
    QFrame* wndBudget = nullptr;
    QLabel* Label1_4 = nullptr; // "Benutzer:"
    QComboBox* comBudgetUser = nullptr;
    QLineEdit* txtBudget[6] = {};   // 0, 2, 3 amounts; 4, 5 period start and end
    QScrollBar* scrlBudget[4] = {}; // 0, 2, 3
    QCheckBox* chkBudget[3] = {};
    QComboBox* comBudgetTon = nullptr;
    QLabel* lblRestTag = nullptr;
    QLabel* lblRestMonat = nullptr;
    QLabel* lblRestDefiniert = nullptr;
    QProgressBar* barRestTag = nullptr;
    QProgressBar* barRestMonat = nullptr;
    QProgressBar* barRestDefiniert = nullptr;

    // Public operations
    void LoadBudget();
    void SaveBudget();
    void ActivateBudgets();
    void DeactivateBudgets();
    bool SelectBudgetUser(bool askPassword); // false when the user shown before was put back
    void GetUsers(const QString& user = QString());

    // Handlers
    void Form_Load();
    void comBudgetUser_Click();
    void comBudgetTon_Click();
    void chkBudget_Click(int index);
    void txtBudget_Change(int index);
    void scrlBudget_Change(int index);
    void txtBudget_LostFocus(int index);

private:
    void buildControls();
    void LoadBudgetOptions();
    void SaveBudgetOptions();
    void GetSounds();
    void ShowRemainingBudgets(const QString& user);
    void fillBoxes(const QString& day, const QString& month, const QString& period, const QString& start,
                   const QString& end);
    void showStoredBudget();
    void revertUser();
    void setBudgetsEnabled(bool enabled);

    Form1& m_main;
    bool m_loadingBudget = false;
    bool m_loadingOptions = false; // the Tag "1" of chkBudget(0)
    bool m_loadingPage = false;    // Form_Load shows the remaining budgets once, at its end
    bool m_askUnlisted = false;    // the first user is chosen for an active user not in the list
    int m_shownUser = -1;          // the index of the user whose budget the boxes hold
    QString m_restoreUser;         // the user being put back: asked for no password
};

// Creates and loads the page for the main window's page table.
QWidget* CreateBudgetPage(Form1& mainWindow);

#pragma once
// The page "Sonstiges": the currency symbol, the main window's behaviour when minimised and at start,
// the start with the desktop session, and below them the dialer protection list and the programs started
// on connect. Every change is saved at once to Config/Options.cfg or its list file.
#include "core/ui/WaitGuard.h"

#include <QWidget>

class Form1;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

inline const QString AUTOSTART_FAILED_MESSAGE = QStringLiteral(
    "Konnte den Autostart nicht einrichten. Bitte erstellen Sie manuell einen Link im Autostart Menü des "
    "Startmenüs.");
inline const QString OPTIONS_WRITE_FAILED_MESSAGE =
    QStringLiteral("Die Einstellung konnte nicht gespeichert werden.");

class Options : public QWidget {
    Q_OBJECT
public:
    explicit Options(QWidget* parent = nullptr);

    // Controls
    QLabel* lblTitel = nullptr;
    QFrame* wndOptions = nullptr;
    QLabel* Label1[4] = {};
    QComboBox* Combo1[2] = {}; // 0 currency, 1 phone-book entry of the program list
    QLabel* Label2 = nullptr;  // sample amount
    QCheckBox* Check2[4] = {}; // tray when minimised, start minimised, start with the session, dialer protection
    QCheckBox* Check1 = nullptr; // same programs for all entries
    QListWidget* List1 = nullptr; // programs started on connect
    QListWidget* List2 = nullptr; // allowed phone-book entries
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label3 = nullptr; // ">> mehr"

    // Public operations
    void GetDFUE();

    // Handlers
    void Form_Load();
    void Combo1_Click(int index);
    void Check1_Click();
    void Check2_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Label3_Click();
    void List1_ItemCheck(int item);
    void List2_ItemCheck(int item);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void LoadOptions();
    void SaveOptions();
    void SetAutostart(bool on);
    void LoadDialerProtection();
    void SaveDialerProtection();
    void LoadPrerunPrograms();
    void SavePrerunPrograms();
    void addProgram(const QString& commandLine, bool ticked);
    // A box waits in its own event loop, where the main window may unload the page: its deletion waits
    // until the box has closed; false when the page has been unloaded meanwhile.
    template <typename F> bool waitFor(F&& call);

    bool m_loading = false;
    WaitGuard m_guard{this};
};

// Registers the page in the main window's page table.
QWidget* CreateOptionsPage(Form1& mainWindow);

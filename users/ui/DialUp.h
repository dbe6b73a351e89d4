#pragma once
// The page "DFÜ Einstellungen": for each phone-book entry, where a dial takes its data from (the
// system's or the program's own) and which tariff a connection on it is charged by.
#include <QWidget>

class Form1;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

inline const QString NO_ENTRY_DIALOG_MESSAGE = QStringLiteral(
    "DFÜ Einträge sind unter Linux pppd Peer-Dateien in /etc/ppp/peers; nur ein Administrator kann sie anlegen "
    "oder bearbeiten.");

class DialUp : public QWidget {
    Q_OBJECT
public:
    explicit DialUp(QWidget* parent = nullptr);

    // Controls
    QFrame* wndDFUE = nullptr;
    QComboBox* comDFUE = nullptr; // the entries
    QLabel* lblLink[2] = {};
    QLabel* lblHilfe[1] = {};
    QRadioButton* Option1 = nullptr; // dial with the system's data
    QRadioButton* Option2 = nullptr; // dial with the program's own data
    QLineEdit* txtEinwahlnummer = nullptr;
    QLineEdit* txtBenutzername = nullptr;
    QLineEdit* txtPasswort = nullptr;
    QComboBox* comAnbieter = nullptr;
    QComboBox* comTarif = nullptr;
    QLabel* lblKosten = nullptr;

    // Public operations
    void GetTarife();
    void SetTarif();
    void LoadEntry();
    void SaveEntry();
    void LoadEntryTarif();
    void SaveEntryTarif();

    // Handlers
    void Form_Load();
    void comDFUE_Click();
    void comAnbieter_Click() { SetTarif(); }
    void comTarif_Click();
    void lblLink_Click(int index);
    void lblHilfe_Click(int index);
    void Option1_Click();
    void Option2_Click();
    void txtEinwahlnummer_Change() { SaveEntry(); }
    void txtBenutzername_Change() { SaveEntry(); }
    void txtPasswort_Change() { SaveEntry(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void GetDFUE();
    void GetRasDialParams();
    void SaveDialUpConfig();
    void LoadDialUpConfig();

    bool m_loading = false;
};

// Creates and loads the page for the main window's page table.
QWidget* CreateDialUpPage(Form1& mainWindow);

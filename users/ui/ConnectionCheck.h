#pragma once
// The page "Überwachungsmethoden": which ways of noticing a connection are on, how often the main
// window looks, and which addresses never count as a connection.
#include <QWidget>

class Form1;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

inline const QString WININET_CANNOT_ACTIVATE = QStringLiteral(
    "Die Internet Explorer Überwachung läßt sich nicht aktivieren. Ein Überwachen des Internet Explorers ist nicht "
    "möglich, da die Datei 'wininet.dll' nicht im Windows System Verzeichnis gefunden wurde. Diese wird bei der "
    "Internet Explorer Installation dort angelegt.");
inline const QString WSOCK_CANNOT_ACTIVATE = QStringLiteral(
    "Die IP Überwachung läßt sich nicht aktivieren. Ein Überwachen der IP Zuordnung ist nicht möglich, da die Datei "
    "'wsock32.dll' nicht im Windows System Verzeichnis gefunden wurde. Diese wird von vielen Anwendungen benötigt "
    "und wird bei der Windows Installation normalerweise angelegt.");
inline const QString TAPI_CANNOT_ACTIVATE = QStringLiteral(
    "Die TAPI Überwachung läßt sich nicht aktivieren. Ein Überwachen der TAPI Schnittstelle ist nicht möglich, da die "
    "Datei 'tapi32.dll' nicht im Windows System Verzeichnis gefunden wurde. Diese wird von vielen Anwendungen "
    "benötigt und wird bei der Windows Installation normalerweise angelegt.");
inline const QString MONITORING_RESET_MESSAGE = QStringLiteral(
    "Die Internet Explorer Überwachung läßt sich nicht aktivieren. Ein Überwachen des Internet Explorers ist nicht "
    "möglich, da die Datei 'wininet.dll' im Windows System Verzeichnis zu alt ist. Für diese Methode muß mindestens "
    "der Internet Explorer 4 auf dem System installiert sein.\n\nAlle Überwachungsoptionen wurden deaktiviert und "
    "Zumbrel wird beendet. Bitte starten Sie es neu und stellen Sie die Überwachungsoptionen neu ein unter "
    "Ausschluß der Internet Explorer Überwachung.");

class ConnectionCheck : public QWidget {
    Q_OBJECT
public:
    ConnectionCheck(Form1& mainWindow, QWidget* parent = nullptr);

    // Controls
    QFrame* wndUeberwachung = nullptr;
    QCheckBox* Check1[4] = {}; // IP, connected state, telephony, LAN and proxy
    QComboBox* comInterval = nullptr;
    QLineEdit* IgnoredIPs = nullptr;
    QPushButton* Command1 = nullptr;

    // Handlers
    void Form_Load();
    void Check1_Click(int index);
    void comInterval_Click();
    void Command1_Click();
    void IgnoredIPs_LostFocus();

private:
    void buildControls();
    void SaveConCheck();
    bool CheckMonitoringPrerequisites(); // false once the reset path has ended the program
    void LoadConCheck();
    void applySwitches();
    void resetMonitoring();

    Form1& m_main;
    bool m_loading = false;
    bool m_ended = false; // the reset path ran: nothing more is saved
};

// Creates and loads the page for the main window's page table.
QWidget* CreateConnectionCheckPage(Form1& mainWindow);

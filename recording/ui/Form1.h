#pragma once
// The main window: a fixed-size frame with the navigation bar on the left, the pages in a stacked area
// and the status line below. It owns the detection tick, the tray icon and the orderly end.
#include "core/ui/TrayMenu.h"
#include "recording/CounterEvents.h"
#include "recording/DetectionLoop.h"
#include "recording/ui/Connection.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class Overview;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QSystemTrayIcon;

inline const QString MAIN_CAPTION = QStringLiteral("Zumbrel 3.3");
inline const QString LOCKED_CAPTION = QStringLiteral("[Gesperrt]");
inline const QString CANNOT_QUIT_MESSAGE = QStringLiteral(
    "Zumbrel kann nicht beendet werden, da diesem Benutzer Zugriffsbeschränkungen zugeteilt wurden.");
inline const QString SAVE_ON_CLOSE_QUESTION =
    QStringLiteral("Es wird gerade eine Verbindung aufgezeichnet. Sollen die ermittelten Daten gespeichert werden?");

class Form1 : public QWidget, public CounterEvents, public TrayCommands, public DetectionHost {
    Q_OBJECT
public:
    static Form1* instance(); // created on first use
    static bool exists();
    ~Form1() override;

    // The pages the navigation opens, by their window names ("Overview", "List", ...); each page's
    // own code registers its factory. Gives the factory it replaces; an empty one removes the page.
    using PageFactory = std::function<QWidget*(Form1&)>;
    static PageFactory RegisterPage(const QString& objectName, PageFactory factory);

    QString Tag; // the active user's name

    // Controls
    QLabel* lblStatus[3] = {};
    QLabel* Label1[10] = {};      // navigation captions
    QLabel* Image1[10] = {};      // navigation icons
    QWidget* Picture3[3] = {};    // the three groups
    QPushButton* Picture4[9] = {}; // group buttons, three on each group
    QStackedWidget* pages = nullptr;
    QTimer OnlineCheck;
    QTimer CounterStopper;
    DetectionLoop detection{*this};

    void Form_Load() { MDIForm_Load(); }
    void MDIForm_Load();
    void LoadConCheckConfig();
    void Image1_Click(int index);
    void Label1_Click(int index) { Image1_Click(index); }
    void Picture4_Click(int index);
    void HideWindows();
    void SetUserPreventions();
    void SetCannotQuit(bool flag);
    bool cannotQuit() const { return m_cannotQuit; }
    void CheckUser(const QString& name);
    void StartConnection();
    bool AnyChildFormLoaded();
    void AddSysTrayIcon();
    void KillSysTrayIcon();
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    QMenu* trayMenu() const { return m_trayMenu; }
    void TrayIconMessage(int message); // 515 restore, 517 menu, 521 start or stop
    void rebuildTrayMenu();
    Connection* counterPage() const { return m_connection; }
    Overview* overviewPage() const; // the open overview page, or nullptr
    // Opens the page by its window name through the page table; nullptr when none is registered.
    QWidget* showPage(const QString& objectName);

    // The desktop session ends: a running recording is stored without asking. commitData only stores;
    // sessionEnd (SIGTERM, SIGHUP, Ctrl+C) ends the program at once, whatever the user's restrictions and
    // whatever box is open.
    void commitData();
    void sessionEnd();
    // The one end of the program, which the close takes once it goes on: the recording is stored unless the
    // close chose not to, the side windows and the facilities go (once), and `closed` ends every event loop.
    void endProgram(bool storeRecording = true);

    // CounterEvents: the main window's share.
    void setMainCaption(const QString& text) override;
    void setMainStatus(int item, const QString& text) override;
    void setNavigationItem0(const QString& text) override;
    void setDetectionTimer(bool enabled) override;
    void armCounterStopper() override;
    void startRefused() override;
    void showCountdown() override;
    void showNotice(int kind, const QString& text) override;

    // TrayCommands
    bool counterPageOpen() const override;
    bool stopButtonEnabled() const override;
    void stopRecording() override;
    void startConnection() override { StartConnection(); }
    void closeMainWindow() override { close(); }
    void storeMonitoring(bool on) override;
    bool isBudgetExceeded() override;

    // DetectionHost
    void setStatusTime(const QString& text) override;
    void hourChanged() override;
    bool loadCounterPage() override;
    void placeCounterPage() override;
    void setCounterStopper(bool enabled) override;
    bool counterPageBusy() override;
    void unloadSmallWindow() override;
    void unloadCounterPage() override;
    bool anyChildFormLoaded() override { return AnyChildFormLoaded(); }
    void showOverview() override;

signals:
    void closed(); // the program ends: every event loop is to end, those a box or a wait runs included

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit Form1(QWidget* parent = nullptr);
    static Form1* s_instance;

    // Whether the close goes on; `storeRecording` false when the user chose not to store the recording.
    bool MDIForm_QueryUnload(int unloadMode, bool& storeRecording);
    void MDIForm_Resize();
    void setNavigationEnabled(bool enabled);
    void unloadPage(QWidget* page);
    QWidget* openPage(const QString& objectName);
    QWidget* loadedPage(const QString& objectName) const; // the page of that name in the stack, or nullptr
    void storeRecording();
    void buildNavigation(QWidget* bar);

    QWidget* m_blank = nullptr; // the stacked area with no page
    QPointer<Connection> m_connection;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QStringList m_trayEntries;
    bool m_cannotQuit = false;
    bool m_ending = false;
};

#pragma once
// The start page "Übersicht": the choice of dial-up entry, user, provider and tariff for a recording
// started by hand, the current price, the detection, holiday and channel-bundling switches, dialling,
// the manual start, the free note, and what is left of budgets and free allowance.
#include "core/ui/WaitGuard.h"
#include "recording/NoteSaver.h"
#include "recording/OverviewValues.h"

#include <QWidget>

class Form1;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class Overview : public QWidget {
    Q_OBJECT
public:
    Overview(Form1& mainWindow, QWidget* parent = nullptr);
    ~Overview() override;

    // Controls
    QFrame* wndOverview = nullptr;
    QComboBox* comDFUE = nullptr; // "comDFÜ"
    QComboBox* comOverviewUser = nullptr;
    QComboBox* comAnbieter = nullptr;
    QComboBox* comTarif = nullptr;
    QCheckBox* Check1 = nullptr; // "Überwachung"
    QCheckBox* chkFeiertag = nullptr;
    QCheckBox* chkKanalbuendelung = nullptr; // "chkKanalbündelung"
    QPushButton* Command1 = nullptr;
    QPushButton* cmdStart = nullptr;
    QPlainTextEdit* Notiz = nullptr;
    QLabel* lblOverview[11] = {};
    QProgressBar* barOverview[5] = {}; // 1 to 4
    QLabel* Label1_36 = nullptr;       // caption of the free allowance
    QLabel* Label2[4] = {};            // section headings

    // Public operations
    void SetTarif();
    bool IsBudgetExceeded() const;
    void GetDFUE();
    void GetTarife();
    void comTarif_Click();
    void GetUsers();
    // Writes the note now if a change of it is still waiting for its write.
    void SaveNote();

    // Handlers
    void Form_Load();
    void comDFUE_Click();
    void comAnbieter_Click();
    void comOverviewUser_Click();
    void Check1_Click();
    void chkFeiertag_Click();
    void chkKanalbuendelung_Click();
    void Command1_Click();
    void cmdStart_Click();
    void Notiz_Change();

protected:
    bool event(QEvent* event) override;

private:
    // Runs a call that waits (a question, the dial) and lets timers run meanwhile: detection or the tray
    // may unload the page then. Its deletion waits until no such call is under way, so that the control
    // whose signal runs the handler outlives it; false when the page has been unloaded.
    template <typename F> bool waitFor(F&& call);
    bool unloaded() const;
    void buildControls();
    void LoadEntryAssignment();
    bool CheckUserPassword(); // false when the previous user was put back
    void restorePreviousUser();
    void LoadNote();
    void LoadOverview();
    void SaveOverview();
    void ShowFreeTime(const QString& tariffFile);
    void ShowRemainingBudgets(const QString& user);

    Form1& m_main;
    bool m_loading = false;
    bool m_noteLoading = false;
    bool m_noteRefusalShown = false;
    NoteSaver m_note;
    WaitGuard m_guard{this};
    int m_shownUser = -1;      // the index of the user last made active on this page
    QString m_restoreUser;     // the user being put back: asked for no password
    OverviewValues::RemainingBudgets m_budgets;
};

inline const QString SUPERVISOR_MISSING =
    QStringLiteral("Die Supervisor Benutzerdaten wurden nicht gefunden. Bitte installieren Sie Zumbrel neu.");
inline const QString DIAL_OVER_BUDGET = QStringLiteral(
    "Das Einwählen wurde Ihnen in den Benutzereinstellungen verboten (Ihr Budget ist überschritten).");
inline const QString DIAL_OVER_TIME_LIMIT = QStringLiteral(
    "Das Einwählen wurde Ihnen in den Benutzereinstellungen verboten (Ihr tägliches Zeitlimit ist überschritten).");
inline const QString PASSWORD_PROMPT = QStringLiteral("Bitte geben Sie das Passwort für diesen Benutzer ein.");

#pragma once
// The update window "Neue Tarife gefunden": the tariffs the update servers offer since the last update
// taken, for the user to mark and download. One instance; the check fills it without showing it, and
// its caller shows or closes it.
#include "core/Waits.h"

#include <QDialog>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QStackedLayout;

// The progress bar: a box from the left edge in proportion to the files handled.
class UpdateProgress : public QWidget {
public:
    explicit UpdateProgress(QWidget* parent = nullptr) : QWidget(parent) {}
    void setProgress(int done, int total);
    int filledWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_done = 0, m_total = 0;
};

class Autoupdate : public QDialog {
    Q_OBJECT
public:
    // The loaded window, nullptr when there is none (or it is closing).
    static Autoupdate* instance();
    // The loaded window, created hidden when there is none.
    static Autoupdate* load();

    // Asks the update servers and lists what they offer; both lists start empty. False while the web is
    // waited for (this window's check or download, a clock synchronisation): then nothing was done and the
    // lists are not touched.
    bool CheckForUpdates();
    // Downloads the marked entries into Tarife; nothing while the web is waited for.
    void DownloadTarife();
    void Command1_Click(int index); // 0 download, 1 not this time
    void Command2_Click();          // cancel the download after the current file

    // How the last check went: Servers.dat was there, and some server's list could be downloaded.
    bool serversFound() const { return m_serversFound; }
    bool serverReached() const { return m_serverReached; }

    // A check or download runs (it waits for the web and lets timers run).
    bool busy() const { return m_web.has_value(); }
    int markedCount() const;

    qint32 UpdateNumber = 0;

    // Controls
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr; // title, list caption, explanation
    QListWidget* List1 = nullptr; // hidden: the download addresses
    QListWidget* List2 = nullptr; // the file names, checkable
    QPushButton* Command1[2] = {};
    QWidget* Picture1 = nullptr;  // the progress panel
    QLabel *Label5 = nullptr, *Label4 = nullptr; // "Lade Tarife herunter:", "Aktuell: ..."
    UpdateProgress* Picture2 = nullptr;
    QPushButton* Command2 = nullptr;

    void reject() override; // Escape closes as the close box does

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit Autoupdate(QWidget* parent = nullptr);
    void CheckProgramRevision(const QString& listFirstLine);
    void finishBusy(); // a close asked for meanwhile is carried out now

    QStackedLayout* m_pages = nullptr;
    std::optional<WaitUnderWay> m_web; // held while a check or download runs
    bool m_serversFound = false, m_serverReached = false;
    bool m_closeAsked = false;
};

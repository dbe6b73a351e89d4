#pragma once
// The two small top-most windows of a running recording: the countdown that hangs the connection up
// when a limit or budget is used up (ConStop), and the budget notice that closes itself (Alert).
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

class ConStop : public QWidget {
    Q_OBJECT
public:
    explicit ConStop(QWidget* parent = nullptr);
    ~ConStop() override;
    QLabel* Label1 = nullptr; // "Verbindungstrennung!"
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr; // the countdown text
    QTimer Timer1;            // 1000 ms
    int secondsLeft = 120;
    void Timer1_Timer();

protected:
    void mousePressEvent(QMouseEvent* event) override; // the window follows the mouse from anywhere
};

class Alert : public QWidget {
    Q_OBJECT
public:
    explicit Alert(QWidget* parent = nullptr);
    ~Alert() override;
    QLabel* Label1 = nullptr; // "Budgetüberschreitung!"
    QLabel* Label2 = nullptr; // the warning text
    QLabel* Label3 = nullptr; // the countdown text
    QPushButton* Command1 = nullptr; // "Schließen"
    QTimer Timer1;                   // 1000 ms
    int Countdown = 30;
    void Timer1_Timer();
    void Command1_Click();
};

// Opens the countdown, unless one is running: that one goes on undisturbed.
ConStop* ShowConStop();
// Opens the notice with its text and 30 seconds; an open notice is reused and starts its 30 seconds again.
Alert* ShowAlert(const QString& text);
// The open windows, nullptr when none; UnloadAlert closes the notice (the main window's close).
ConStop* ConStopWindow();
Alert* AlertWindow();
void UnloadAlert();

#pragma once
// The active user's budgets while a recording runs: what is left today, this month and in the
// defined period, updated with every charge, with one warning per overrun.
#include <QDate>
#include <QString>

class CounterEvents;

class RecordingBudgets {
public:
    explicit RecordingBudgets(CounterEvents& events) : m_events(events) {}

    struct Label {
        QString text;
        int colour = 0; // 0 black, 32768 dark green, 128 dark red
    };
    Label lblRestTag, lblRestMonat, lblRestDefiniert;

    // Loads the budgets, subtracts the spending of the records and draws the labels.
    void GetBudget();
    // A new day (and month) began during the recording: reload those budgets from the file.
    void GetNewBudget(bool newMonth);
    // After a charge: redraw the remainders against the connection's cost and warn on an overrun.
    void ShowRestBudget(double connectionCost);

private:
    struct Budget {
        double remaining = 0;
        double costApplied = 0;
        bool active = false;
    };
    void warn(int kind);
    void showNotice(int kind);
    void draw(Label& label, double value);
    CounterEvents& m_events;
    Budget m_day, m_month, m_period;
    QDate m_periodStart, m_periodEnd;
};

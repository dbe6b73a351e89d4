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

    // Loads the budgets, subtracts the spending of the records and draws the labels; the charges that follow
    // are today's.
    void GetBudget();
    // The recording's seconds reached a new day (and month): reload those budgets from the file. The charges
    // that follow are that day's, though a late tick bills them after it.
    void GetNewBudget(bool newMonth, const QDate& day);
    // After a charge: redraw the remainders against the connection's cost and warn on an overrun. The period
    // counts while the day of the charge lies within it.
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
    QDate m_chargeDay; // the day of the seconds being charged
};

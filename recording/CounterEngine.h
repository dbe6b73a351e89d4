#pragma once
// The live recording without its window: what a running connection costs second by second, and the
// texts the counter page, the floating window and the main window show. Timers are flags here; the
// counter page drives the ticks.
#include "recording/ConnectionRecord.h"
#include "recording/RecordingBudgets.h"
#include "recording/RunningRecord.h"

#include <QDate>
#include <QString>

class CounterEvents;

class CounterEngine {
public:
    explicit CounterEngine(CounterEvents& events);

    // The page's load: refuses without tariff or user, loads the option boxes, starts the count.
    // False when the start was refused.
    bool Form_Load();
    bool TarifCheck();
    void Counter_Start();
    void Counter_Stop();
    void GetTimeLimit();
    bool SaveConnection(); // the record of the recording, from what the labels show
    // The recording is not to be stored, not by the next start either: its running file goes, and no minute
    // is written after it.
    void DiscardRunningRecord();

    // Ticks: the billing ticks (one second) and the two one-shot jobs.
    void RSTimer1_Timer();
    void RSTimer2_Timer();
    void TimerStarter_Timer();
    void Timer1_Timer();

    // Controls the user acts on. Setting a box runs its handler when the value changes.
    void setCheck1(int value); // clock synchronisation after the start
    void setCheck2(int value); // automatic detection
    void setCheck3(int value); // floating window
    void setChannelBundling(int value);
    void cmdStop_Click();
    void Form_Activate();
    void Label1_Click(); // synchronise the clock now
    void ShowBytes();
    void CheckStillOnline();
    // The update window's reports: a newer program revision exists; the tariff download has ended.
    void ProgramUpdateFound();
    void TarifUpdateDone(bool complete);

    // Timer switches the page follows.
    bool RSTimer1 = false, RSTimer2 = false, TimerStarter = false, Timer1 = false;
    bool visible = false; // the counter page is shown (the floating window follows it)

    // Controls
    int Check1 = 0, Check2 = 0, Check3 = 0, chkKanalbuendelung = 0;
    bool Check2Enabled = true, cmdStopEnabled = true;
    QString lblDauer, lblKosten, lblEinheiten, lblRestFrei, lblEinheit, lblEuroProMinute;
    QString lblStartzeit, lblStartzeitTag, lblTarifname, lblTarifnameTag, lblBenutzer;
    // Without a phone-book connection both keep the page's design caption, which the record stores.
    QString lblConnectionName = QStringLiteral("unbekannt"), lblConnectionSpeed = QStringLiteral("unbekannt");
    QString lblFreeCaption; // caption item 26
    QString lblBytesIn, lblBytesOut, lblBytesInOut, lblBytesInPerSecond, lblBytesOutPerSecond,
        lblBytesInOutPerSecond;
    QString lblTimeSync, lblTarifupdates, lblProgrammupdates;
    bool lblTarifupdatesLink = false, lblProgrammupdatesLink = false;
    QString smallWindow[4]; // the floating window's captions
    RecordingBudgets budgets;

    // Counter state
    float Price = 0, UnitSize = 0, UnitPrice = 0, Cost = 0, FreeCost = 0, UnitRest = 0, CarryIn = 0;
    // A Takt of 40000 s comes from update servers too: 16 bits would wrap it to a negative unit.
    qint32 FirstUnitLength = 0, CurrentUnitLength = 0, SecondsInUnit = 0;
    qint16 SecondsInHour = 0, HoursElapsed = 0;
    qint32 UnitsDone = 0;
    QDate LastDate;
    int LastHour = 0;
    quint32 RasConnHandle = 0;
    QString EntryName; // the phone book's name of the link; empty when it has none
    qint64 ByteMark = 0;
    bool TimeSyncOn = false, UpdateDue = false, DayLimitShown = false, MonthLimitShown = false;
    bool IsVolumeBilling = false;

private:
    int channels() const { return chkKanalbuendelung + 1; }
    void GetDialUpEntry();
    void RunPrerunPrograms();
    void LoadTimesyncConfig();
    void LoadSmallwindowConfig();
    void DayChanged(const QDate& day);
    void passDay(const QDate& day); // the day of the second a tick counts
    bool IsFreeTimeLeft() const;
    void CheckTimeLimitDay();
    void CheckTimeLimitMonth();
    ConnectionDisplay display() const; // what a stop would store now
    QString recordFileName() const;
    void checkTimeLimit(qint32 restSeconds, bool& shown);
    void UpdateSmallWindow();
    void charge(float amount);
    void showCost();
    void tickStart();   // steps shared by both ticks before the seconds
    qint64 secondsDue() const; // the seconds the recording has lasted by now, as the ticks count them
    qint64 secondsCounted() const;
    void advanceDuration();
    void tickEnd();     // floating window, caption, still-online test, limits
    void setBox(int& box, int value, void (CounterEngine::*handler)());
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();

    CounterEvents& m_events;
    bool m_stopped = false;
    qint64 m_startMs = 0;         // the monotonic clock at the start
    bool m_minuteStarted = false; // this tick counted a minute's first second

public:
    // The running file's writer, which a stop waits for. Last, so it is joined first, before its page is gone.
    RunningRecordWriter runningRecord;
};

#include "recording/CounterEngine.h"

#include "core/Clock.h"
#include "core/Detection.h"
#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/InternetFunctions.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/SystemUtils.h"
#include "core/TariffPrices.h"
#include "core/TextFile.h"
#include "core/TimeLimit.h"
#include "core/TimeRoutines.h"
#include "core/TrafficCounters.h"
#include "core/VB.h"
#include "core/platform/ProgramStarter.h"
#include "recording/ConnectionRecord.h"
#include "recording/CounterEvents.h"
#include "recording/CounterSettings.h"
#include "recording/MainWindowFiles.h"
#include "recording/OverviewValues.h"
#include "recording/RunningRecord.h"
#include "recording/TariffKeys.h"

#include <cmath>

namespace {
const QString STOPPED_CAPTION = QStringLiteral("Zumbrel 3.3");

QString amount(float value) { return FormatSingle(value, "0.000") + " " + G_Currency; }

// A unit length beyond the single range is malformed, as a tariff number beyond it is: 0 seconds.
float unitSeconds(const QString& text)
{
    const float seconds = float(Val(text));
    return std::isfinite(seconds) ? seconds : 0.0f;
}

// Billing keeps to single precision. Where a step overflows it although the result need not, the step is
// taken in double; a result beyond the single range stops at its end, the largest amount the counter shows
// and the record stores as a number that reads back.
float unitPrice(float centsPerMinute, float seconds)
{
    const float price = centsPerMinute * seconds / 60.0f / 100.0f;
    return std::isfinite(price) ? price : CSng(double(centsPerMinute) * seconds / 60 / 100);
}

} // namespace

CounterEngine::CounterEngine(CounterEvents& events) : budgets(events), m_events(events) {}

bool CounterEngine::Form_Load()
{
    if (!TarifCheck()) return false;
    InitRasCounters(); // each recording counts its bytes and rates afresh
    setCheck2(G_MonitoringOn ? 1 : 0);
    UpdateDue = LoadAutoupdateConfig();
    LoadTimesyncConfig();
    LoadSmallwindowConfig();
    Counter_Start();
    return true;
}

bool CounterEngine::TarifCheck()
{
    bool refuse = false;
    if (G_Tariff.size() < 4) {
        MsgBox("Kein Tarif ausgewählt! Wählen Sie zuerst einen Tarif aus, bevor Sie die Verbindung starten.",
               vbOKOnly + vbExclamation);
        refuse = true;
    }
    if (G_ActiveUser.isEmpty()) {
        MsgBox("Kein Benutzer ausgewählt! Wählen Sie zuerst einen Benutzer aus, bevor Sie die Verbindung starten.",
               vbOKOnly + vbExclamation);
        refuse = true;
    }
    if (refuse) {
        G_MonitoringOn = false;
        SaveMonitoringConfig(0);
        m_events.startRefused();
    }
    return !refuse;
}

void CounterEngine::Counter_Start()
{
    m_stopped = false;
    DayLimitShown = MonthLimitShown = false;
    m_events.setDetectionTimer(false);
    setChannelBundling(G_ChannelBundling ? 1 : 0);
    GetDialUpEntry();
    // both remainders afresh (the daily one as GetTimeLimit gives it): a start by hand would otherwise
    // use those of an earlier check
    if (G_DayLimitOn || G_MonthLimitOn) IsTimeLimitReached();
    // the free allowance of this recording's own tariff, not of the overview page's last choice
    G_FreeAllowanceLeft = FreeAllowanceLeft(G_Tariff);

    SecondsInHour = HoursElapsed = SecondsInUnit = 0;
    Cost = GetGrundgebuehr(G_Tariff) * float(channels());
    FreeCost = 0;
    UnitsDone = 0;
    UnitRest = 0;
    CarryIn = 0;
    ByteMark = 0;
    LastDate = Today();
    LastHour = 0;
    RunPrerunPrograms();
    budgets.GetBudget();
    IsVolumeBilling = GetVolumenabrechnung(G_Tariff);

    if (!IsVolumeBilling) {
        Price = float(GetCurrentTarifPrice(G_Tariff));
        const QString takt = GetActualTakt(G_Tariff);
        const qsizetype slash = takt.indexOf('/');
        FirstUnitLength = CInt(Val(takt));
        UnitSize = unitSeconds(slash < 0 ? takt : takt.mid(slash + 1));
        UnitPrice = unitPrice(Price, UnitSize);
        // the first unit costs its own length: a "60 / 1" tariff charges a whole minute at once
        const float firstUnitPrice = unitPrice(Price, float(FirstUnitLength));
        Cost = SingleSum(Cost, CSng(double(channels()) * firstUnitPrice));
        FreeCost = Cost;
        CurrentUnitLength = FirstUnitLength;
        UnitRest = FirstUnitLength;
        if (UnitSize != 1) {
            lblEinheit = GeneralSingle(UnitSize) + "s";
            lblEuroProMinute = amount(UnitPrice);
        } else {
            lblEinheit = "60s";
            lblEuroProMinute = amount(Price / 100);
        }
        lblFreeCaption = "Restfreizeit:";
    } else {
        Price = GetVolumenkosten(G_Tariff);
        UnitSize = GetVolumeneinheit(G_Tariff) * 1000;
        if (!std::isfinite(UnitSize)) UnitSize = 0; // kilobytes beyond the single range: malformed, as above
        UnitPrice = Price / 100;
        if (UnitSize > 0) CarryIn = LoadVolumeCarry(G_Tariff);
        // without a byte counted the carried KB must survive to the stop
        UnitRest = CarryIn;
        lblEinheit = GeneralSingle(UnitSize / 1000) + "MB";
        lblEuroProMinute = amount(UnitPrice);
        lblFreeCaption = "Restfreitransfer:";
    }
    m_events.setMainStatus(1, "Aufzeichnung aktiv");
    G_Recording = true;
    m_events.setNavigationItem0("Verbindung");
    Timer1 = UpdateDue || TimeSyncOn;
    if (Check3 == 1) m_events.showSmallWindow(true);
    const QDateTime now = Now();
    m_startMs = ElapsedMs();
    lblStartzeit = now.time().toString("HH:mm:ss");
    lblStartzeitTag = now.date().toString("ddMMyyyy");
    lblTarifname = G_Tariff.left(G_Tariff.size() - 4);
    lblTarifnameTag = G_Tariff;
    lblBenutzer = G_ActiveUser;
    TimerStarter = true;
}

void CounterEngine::GetDialUpEntry()
{
    RasConnHandle = 0; // not the connection of an earlier recording
    EntryName.clear();
    QList<RasConnInfo> connections;
    if (EnumRasConnections(connections) > 0 && !connections.isEmpty()) {
        const RasConnInfo& last = connections.last();
        RasConnHandle = last.hrasconn;
        EntryName = last.szEntryName;
        // a link without an entry name (pppd started without "call") is stored as shown, or the list,
        // which drops a record with an empty line, would never show a connection that budgets count
        lblConnectionName = EntryName.isEmpty() ? QStringLiteral("unbekannt") : EntryName;
        lblConnectionSpeed = last.szDeviceName;
    }
    if (G_DetectSource == 0 || !IsSafeName(EntryName)) return;
    const QString folder = ProgramPath("DialUp");
    const QString found = FindFileNoCase(folder, EntryName + ".trf");
    if (found.isEmpty()) return;
    const LineReader trf(folder + "/" + found);
    const QString provider = trf.line(0), item = trf.line(1);
    QString tariff;
    if (item.startsWith('A')) tariff = provider + item.mid(1) + ".atl";
    else if (item.startsWith('M')) tariff = provider + item.mid(1) + ".tel";
    else return;
    // the name becomes a path in Tarife and Prerun: one that would leave them is no tariff
    G_Tariff = IsSafeName(tariff) ? tariff : QString();
}

void CounterEngine::RunPrerunPrograms()
{
    if (!G_DialedHere) return;
    if (!G_SameProgramsForAll && !IsSafeName(EntryName)) return;
    const QString name = G_SameProgramsForAll ? QStringLiteral("General.prg") : EntryName + ".prg";
    const QString folder = ProgramPath("DialUp");
    const QString found = FindFileNoCase(folder, name);
    if (found.isEmpty()) return;
    const QStringList lines = ReadTextLines(folder + "/" + found);
    for (int i = 0; i + 1 < lines.size(); i += 2)
        if (Val(lines[i + 1]) == 1) TheProgramStarter().start(lines[i]);
}

void CounterEngine::GetTimeLimit()
{
    // a limit of 99.999.999 minutes is beyond 32 bits in seconds
    qint64 rest = qint64(G_DayLimitMinutes) * 60;
    const QString today = Today().toString("ddMMyyyy");
    const QString user = G_ActiveUser.toLower();
    WalkRecords([&](const QString& file) { return file.startsWith(today); },
                [&](const QString&, const RecordLines& record) {
                    // durations of a day or more count in full, damaged ones not at all
                    if (record.line(11).toLower() == user) rest -= RecordDurationSeconds(record.line(3));
                });
    G_DayRestSeconds = ClampRestSeconds(rest);
}

void CounterEngine::Counter_Stop()
{
    G_DialedHere = false;
    // both billing timers stop before the record is written
    RSTimer1 = RSTimer2 = TimerStarter = Timer1 = false;
    m_stopped = true;
    // a failing step is reported, and the stop still ends the recording and tears the page down
    try {
        // A minute still on its way to the disk would land after the removal, or beside a record that failed:
        // the record is stored (or kept as the running file) only once the writer is done.
        runningRecord.flush();
        // a record that could not be stored keeps its last minute for the next start
        if (SaveConnection()) RemoveRunningRecord(recordFileName());
        if (IsVolumeBilling) SaveVolumeCarry(G_Tariff, UnitRest);
    } catch (...) {
        MsgBox("Fehler beim Anhalten der Aufzeichnung. Subcode 1.", vbOKOnly + vbCritical);
    }
    try {
        m_events.setMainCaption(STOPPED_CAPTION);
        m_events.setMainStatus(1, "Aufzeichnung ist nicht aktiv");
        m_events.setNavigationItem0(QStringLiteral("Übersicht"));
    } catch (...) {
        MsgBox("Fehler beim Anhalten der Aufzeichnung. Subcode 2.", vbOKOnly + vbCritical);
    }
    G_Recording = false;
    m_events.armCounterStopper();
}

bool CounterEngine::SaveConnection() { return SaveConnectionRecord(display()); }

void CounterEngine::DiscardRunningRecord()
{
    runningRecord.close();
    RemoveRunningRecord(recordFileName());
}

QString CounterEngine::recordFileName() const { return RecordFileNameOf(lblStartzeitTag, lblStartzeit); }

ConnectionDisplay CounterEngine::display() const
{
    ConnectionDisplay d;
    d.startDateTag = lblStartzeitTag;
    d.startTime = lblStartzeit;
    d.duration = lblDauer;
    d.cost = lblKosten;
    d.units = lblEinheiten;
    d.bytesIn = lblBytesIn;
    d.bytesOut = lblBytesOut;
    d.bytesTotal = lblBytesInOut;
    d.connectionName = lblConnectionName;
    d.tariff = lblTarifnameTag;
    d.user = lblBenutzer;
    return d;
}

void CounterEngine::tickStart()
{
    m_events.setMainStatus(0, StatusDateText());
    ShowBytes();
    m_minuteStarted = false;
}

void CounterEngine::passDay(const QDate& day)
{
    if (LastDate != day) DayChanged(day);
    LastDate = day;
}

// The count runs from the start: the first second counts at once, as the first tick comes right after the start,
// and every whole second since the start counts one more. A late tick, the first one too, thus catches up the
// seconds it missed, the part of a second not yet counted waits for the next tick, and the count never runs
// ahead of the clock by more than that first second.
qint64 CounterEngine::secondsDue() const
{
    return 1 + qMax<qint64>(0, ElapsedMs() - m_startMs) / 1000;
}

qint64 CounterEngine::secondsCounted() const { return qint64(HoursElapsed) * 3600 + SecondsInHour; }

void CounterEngine::advanceDuration()
{
    SecondsInHour += 1;
    if (SecondsInHour >= 3600) {
        SecondsInHour = 0;
        HoursElapsed += 1;
    }
    // the first second and then every minute
    if (secondsCounted() % 60 == 1) m_minuteStarted = true;
    lblDauer = FormatDouble(HoursElapsed, "00") + ":" + FormatDouble(SecondsInHour / 60, "00") + ":" +
               FormatDouble(SecondsInHour % 60, "00");
}

void CounterEngine::charge(float amount)
{
    if (IsFreeTimeLeft()) {
        FreeCost = SingleSum(FreeCost, amount);
    } else {
        Cost = SingleSum(Cost, amount);
        budgets.ShowRestBudget(Cost);
    }
}

void CounterEngine::showCost()
{
    lblKosten = IsFreeTimeLeft() ? "0 (" + amount(FreeCost) + ")" : amount(Cost);
}

void CounterEngine::tickEnd()
{
    if (Check3 == 1) UpdateSmallWindow();
    m_events.setMainCaption(lblKosten + " | " + lblDauer + " | " + lblBytesInOutPerSecond + " | " + lblBytesInOut);
    CheckStillOnline();
    if (m_stopped) return; // a stopped recording opens no countdown
    // The first second and then every minute: a crash loses at most the last minute, at one write a minute.
    // Formed here, with the program's number settings; written on the writer's thread.
    if (m_minuteStarted) {
        StoredRecord record;
        if (FormRecord(display(), record) == 0) runningRecord.hand(RunningRecordPath(), std::move(record));
    }
    if (G_DayLimitOn) CheckTimeLimitDay();
    if (G_MonthLimitOn) CheckTimeLimitMonth();
}

void CounterEngine::RSTimer1_Timer()
{
    const TickMessages messages; // the billing goes on while a box is read
    if (m_stopped) return;
    tickStart();
    // Every second the tick was late for is billed, in order, as its own tick would have billed it: in its day,
    // before the day change, at the price of its hour, its units on their own second.
    // Local time is worked out once a minute of them, as an hour or a day begins with a minute in every zone:
    // a stall of hours then costs no more than its seconds.
    const QDateTime now = Now();
    qint64 nextLook = secondsDue() - secondsCounted() - 1;
    for (qint64 before = nextLook; before >= 0 && !m_stopped; --before) {
        if (before == nextLook) {
            const QDateTime at = now.addSecs(-before);
            nextLook = before - (60 - at.time().second());
            passDay(at.date());
            if (LastHour != at.time().hour()) {
                UnitPrice = CSng(GetTarifPriceAt(G_Tariff, at) * double(UnitSize) / 60 / 100);
                LastHour = at.time().hour();
            }
        }
        advanceDuration();
        lblRestFrei =
            G_FreeAllowanceLeft != "-" ? SubtractTimes(G_FreeAllowanceLeft, lblDauer) : QStringLiteral("keine");
        if (SecondsInUnit >= CurrentUnitLength) {
            charge(CSng(double(channels()) * UnitPrice));
            SecondsInUnit = 0;
            CurrentUnitLength = CInt(UnitSize);
        }
        SecondsInUnit += 1;
        if (CurrentUnitLength <= 1) {
            lblEinheiten = "sek.genau";
        } else {
            UnitRest -= 1;
            if (UnitRest == 0) {
                UnitsDone += 1;
                UnitRest = UnitSize;
            }
            lblEinheiten = QString::number(UnitsDone + 1) + " (" + GeneralSingle(UnitRest) + "s)";
        }
    }
    showCost();
    tickEnd();
}

void CounterEngine::RSTimer2_Timer()
{
    const TickMessages messages; // the billing goes on while a box is read
    if (m_stopped) return;
    tickStart();
    passDay(Today());
    // the units follow the byte total, at most one a tick; only the duration counts the seconds missed
    for (qint64 seconds = secondsDue() - secondsCounted(); seconds > 0; --seconds) advanceDuration();
    // read in double: a single would lose the kilobytes of a free transfer of some gigabytes
    if (G_FreeAllowanceLeft != "-") {
        const double freeMegabytes = Val(QString(G_FreeAllowanceLeft).replace(',', '.'));
        lblRestFrei = FormatDouble(freeMegabytes - G_BytesTotal / 1000000, "0.000") + "MB";
    } else {
        lblRestFrei = "keiner";
    }
    if (UnitSize <= 0 || G_BytesTotal <= 0) {
        lblEinheiten = "Flatrate";
    } else {
        UnitRest = CSng(CarryIn - G_BytesTotal / 1000 + double(UnitSize) * UnitsDone);
        if (UnitRest <= 0) {
            UnitRest += UnitSize;
            UnitsDone += 1;
            charge(UnitPrice);
        }
        lblEinheiten = UnitPrice > 0 ? QString::number(UnitsDone) + " (" + FormatSingle(UnitRest, "0") + "KB)"
                                     : QStringLiteral("0");
    }
    // refreshed on every tick, so a recording without bytes still shows and stores its base fee
    showCost();
    tickEnd();
}

void CounterEngine::TimerStarter_Timer()
{
    const TickMessages messages; // the billing goes on while a box is read
    TimerStarter = false;
    if (!IsVolumeBilling) {
        RSTimer1_Timer();
        RSTimer1 = !m_stopped;
    } else {
        RSTimer2_Timer();
        RSTimer2 = !m_stopped;
    }
    if (!m_stopped) budgets.ShowRestBudget(Cost);
}

void CounterEngine::Timer1_Timer()
{
    const TickMessages messages; // the billing goes on while a box is read
    Timer1 = false;
    if (m_stopped) return;
    if (UpdateDue) {
        lblTarifupdates = QStringLiteral("Prüfe auf Updates...");
        const int found = m_events.checkForUpdates();
        if (found == 0) {
            lblTarifupdates = "Keine Tarife gefunden.";
            lblTarifupdatesLink = false;
            m_events.releaseUpdateWindow();
        } else {
            lblTarifupdates = QString::number(found) + " Tarife gefunden.";
            lblTarifupdatesLink = true;
        }
        UpdateDue = false;
    }
    // the check waits for the web with the ticks running: a recording that ended meanwhile syncs nothing
    if (TimeSyncOn && !m_stopped) Label1_Click();
}

// The notice stays for the rest of the recording.
void CounterEngine::ProgramUpdateFound()
{
    lblProgrammupdates = QStringLiteral("Neues Update verfügbar.");
    lblProgrammupdatesLink = true;
}

void CounterEngine::TarifUpdateDone(bool complete)
{
    lblTarifupdates = complete ? QStringLiteral("Tarifupdate durchgeführt.") : QStringLiteral("Tarifupdate unvollständig.");
    lblTarifupdatesLink = false;
}

void CounterEngine::Label1_Click()
{
    lblTimeSync = "Zeitserver wird kontaktiert...";
    ClockSyncStatus status = ClockSyncStatus::NoTime;
    const double correction = SyncClockFromWeb(&status);
    if (status != ClockSyncStatus::Set) {
        // a clock that was not set is no correction
        lblTimeSync = CLOCK_NOT_SET_TEXT;
        return;
    }
    const qint64 seconds = qAbs(qRound64(correction * 86400));
    lblTimeSync = QStringLiteral("Zeit um ±") + QTime(0, 0).addSecs(int(seconds % 86400)).toString("HH:mm:ss") +
                  " korrigiert.";
}

void CounterEngine::DayChanged(const QDate& day)
{
    budgets.GetNewBudget(LastDate.month() != day.month(), day);
}

bool CounterEngine::IsFreeTimeLeft() const { return G_FreeAllowanceLeft != "-" && !lblRestFrei.startsWith('-'); }

void CounterEngine::checkTimeLimit(qint32 restSeconds, bool& shown)
{
    if (shown) return;
    const qint64 minutes = CLng(double(restSeconds) / 60);
    if (secondsCounted() >= minutes * 60) {
        shown = true;
        m_events.showCountdown();
    }
}

void CounterEngine::CheckTimeLimitDay() { checkTimeLimit(G_DayRestSeconds, DayLimitShown); }
void CounterEngine::CheckTimeLimitMonth() { checkTimeLimit(G_MonthRestSeconds, MonthLimitShown); }

void CounterEngine::UpdateSmallWindow()
{
    smallWindow[0] = lblDauer;
    smallWindow[1] = lblKosten;
    if (ByteMark <= G_BytesTotal) smallWindow[2] = FormatDouble(G_BytesTotal / 1000, "0") + " KB ";
    smallWindow[3] = lblBytesInOutPerSecond + " KB/s";
}

void CounterEngine::ShowBytes()
{
    UpdateTrafficCounters(G_WinVer, RasConnHandle);
    if (ByteMark > G_BytesTotal) return;
    ByteMark = qint64(G_BytesTotal);
    if (G_BytesTotal == 0) {
        lblBytesIn = lblBytesOut = lblBytesInOut = "unbekannt";
        lblBytesInPerSecond = lblBytesOutPerSecond = lblBytesInOutPerSecond = "0.0";
        return;
    }
    lblBytesIn = FormatThousands(G_BytesIn) + " Bytes";
    lblBytesOut = FormatThousands(G_BytesOut) + " Bytes";
    lblBytesInOut = FormatThousands(G_BytesTotal) + " Bytes";
    lblBytesInPerSecond = FormatSingle(G_RateIn / 1000, "0.0");
    lblBytesOutPerSecond = FormatSingle(G_RateOut / 1000, "0.0");
    lblBytesInOutPerSecond = FormatSingle(G_RateTotal / 1000, "0.0");
}

void CounterEngine::CheckStillOnline()
{
    if (!G_MonitoringOn) return;
    bool online = true;
    switch (G_DetectSource) {
    case 1: online = CheckWininetConnection(); break;
    case 2: online = G_TapiCallConnected; break;
    case 3: online = CheckIPConnection(); break;
    default: return;
    }
    // A link that dropped and came back between two ticks is a new connection with its own recording.
    RasStatusInfo status;
    if (online && RasConnHandle != 0) online = GetRasConnectStatus(RasConnHandle, status) != ERROR_INVALID_HANDLE;
    if (!online) Counter_Stop();
}

void CounterEngine::LoadTimesyncConfig()
{
    setCheck1(LoadSwitchFile("Timesync.cfg"));
    if (Check1 == 1) {
        lblTimeSync = "Uhrzeit wird korrigiert...";
        TimeSyncOn = true;
    }
}

void CounterEngine::LoadSmallwindowConfig() { setCheck3(LoadSwitchFile("Smallwindow.cfg")); }

// Setting a box from code runs its handler, as a click would, whenever the value changes.
void CounterEngine::setBox(int& box, int value, void (CounterEngine::*handler)())
{
    if (box == value) return;
    box = value;
    (this->*handler)();
}

void CounterEngine::setCheck1(int value) { setBox(Check1, value, &CounterEngine::Check1_Click); }
void CounterEngine::setCheck2(int value) { setBox(Check2, value, &CounterEngine::Check2_Click); }
void CounterEngine::setCheck3(int value) { setBox(Check3, value, &CounterEngine::Check3_Click); }

void CounterEngine::setChannelBundling(int value)
{
    if (chkKanalbuendelung == value) return;
    chkKanalbuendelung = value;
    G_ChannelBundling = value != 0;
}

void CounterEngine::Check1_Click()
{
    SaveSwitchFile("Timesync.cfg", Check1);
    if (Check1 == 0) TimeSyncOn = false;
}

void CounterEngine::Check2_Click()
{
    G_MonitoringOn = Check2 == 1;
    SaveMonitoringConfig(Check2);
}

void CounterEngine::Check3_Click()
{
    SaveSwitchFile("Smallwindow.cfg", Check3);
    if (G_Recording) m_events.showSmallWindow(visible && Check3 == 1);
}

void CounterEngine::cmdStop_Click()
{
    if (G_DetectSource > 0 && G_MonitoringOn) {
        const int answer = MsgBox(QStringLiteral("Die automatiche Erkennung von Verbindungen (Überwachung) muß augeschaltet "
                                                 "werden um die Aufzeichnung manuell zu stoppen. Soll diese abgeschaltet "
                                                 "und die Aufzeichnung gestoppt werden?"),
                                  vbYesNo + vbQuestion, "Frage");
        // the question lets the ticks run: one of them may have ended the recording meanwhile
        if (answer != vbYes || m_stopped) return;
        G_MonitoringOn = false;
        setCheck2(0);
    }
    Counter_Stop();
}

void CounterEngine::Form_Activate()
{
    Check2Enabled = cmdStopEnabled = !G_NoMonitoringAccess;
    setCheck2(G_MonitoringOn ? 1 : 0);
}

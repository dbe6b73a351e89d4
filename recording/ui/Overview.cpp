#include "recording/ui/Overview.h"

#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/SystemUtils.h"
#include "core/TimeLimit.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/FlatControl.h"
#include "core/ui/ShutOut.h"
#include "core/ui/Status.h"
#include "core/ui/WindowUtils.h"
#include "recording/CounterSettings.h"
#include "recording/MainWindowFiles.h"
#include "recording/OverviewFiles.h"
#include "recording/ui/Form1.h"
#include "tariffs/TarifFile.h"
#include "users/UserRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QProgressBar* bar(QWidget* parent)
{
    auto* b = new QProgressBar(parent);
    b->setRange(0, 100);
    b->setValue(0);
    b->setTextVisible(false);
    b->setFixedHeight(10);
    return b;
}
} // namespace

Overview::Overview(Form1& mainWindow, QWidget* parent) : QWidget(parent), m_main(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

Overview::~Overview()
{
    // the note as it was last typed, before its box goes
    disconnect(Notiz, nullptr, this, nullptr);
    SaveNote();
}

void Overview::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndOverview = new QFrame(this);
    wndOverview->setObjectName("wndOverview");
    outer->addWidget(wndOverview);

    for (int i = 0; i < 11; ++i) {
        // the cheapest entry is a name with its price: on two lines at most, ending in "…"
        lblOverview[i] = i == 10 ? new ElidedLabel(wndOverview, 2) : new QLabel(wndOverview);
        lblOverview[i]->setObjectName(QString("lblOverview_%1").arg(i));
    }
    for (int i = 1; i < 5; ++i) barOverview[i] = bar(wndOverview);
    const char* headings[4] = {"Tarif", "Einwahl (DFÜ)", "Benutzer und Budget", "Notizen"};
    for (int i = 0; i < 4; ++i) Label2[i] = heading(QString::fromUtf8(headings[i]), wndOverview);

    auto combo = [this](const char* name) {
        auto* c = new QComboBox(wndOverview);
        c->setObjectName(QString::fromUtf8(name));
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(8);
        return c;
    };
    comAnbieter = combo("comAnbieter");
    comTarif = combo("comTarif");
    comTarif->setToolTip("M = manuell hinzugefügter Tarif, A = durch Autoupdate hinzugefügter Tarif");
    comDFUE = combo("comDFÜ");
    comOverviewUser = combo("comOverviewUser");
    Check1 = new QCheckBox("Überwachung", wndOverview);
    chkFeiertag = new QCheckBox("Feiertag", wndOverview);
    chkKanalbuendelung = new QCheckBox("Kanalbündelung (Kosten doppelt zählen)", wndOverview);
    chkKanalbuendelung->setObjectName("chkKanalbündelung");
    Command1 = new QPushButton("Ausgewählten DFÜ Eintrag wählen", wndOverview);
    cmdStart = new QPushButton("Aufzeichnung manuell starten", wndOverview);
    Notiz = new QPlainTextEdit(wndOverview);
    Notiz->setObjectName("Notiz");
    Notiz->setTabChangesFocus(true); // as in every other box; a tab in the note is not wanted
    Label1_36 = new QLabel("Verbleibende kostenfreie Zeit:", wndOverview);
    WrapLabel(lblOverview[10]);

    auto caption = [this](const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), wndOverview);
        KeepRoomForUmlauts(label);
        return label;
    };
    auto* grid = new QGridLayout(wndOverview);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(3);

    // Top left: the tariff and its price.
    auto* tariff = new QGridLayout;
    tariff->setVerticalSpacing(2);
    tariff->addWidget(Label2[0], 0, 0, 1, 3);
    tariff->addWidget(caption("Anbieter:"), 1, 0);
    tariff->addWidget(comAnbieter, 1, 1, 1, 2);
    tariff->addWidget(caption("Tarif:"), 2, 0);
    tariff->addWidget(comTarif, 2, 1, 1, 2);
    tariff->addWidget(caption("Aktueller Preis:"), 3, 0, 1, 3);
    tariff->addWidget(lblOverview[0], 4, 0, 1, 3);
    tariff->addWidget(Label1_36, 5, 0, 1, 3);
    tariff->addWidget(lblOverview[1], 6, 0);
    tariff->addWidget(barOverview[1], 6, 1);
    tariff->addWidget(lblOverview[9], 6, 2);
    // the bar and its percentage give way to "Keine" without the controls around them moving
    for (QWidget* w : {static_cast<QWidget*>(barOverview[1]), static_cast<QWidget*>(lblOverview[9])}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    tariff->addWidget(chkFeiertag, 7, 0, 1, 3);
    tariff->setColumnStretch(1, 1);

    // Top right: dialling and the manual start.
    auto* dial = new QVBoxLayout;
    dial->setSpacing(2);
    dial->addWidget(Label2[1]);
    dial->addWidget(caption("DFÜ Eintrag:"));
    dial->addWidget(comDFUE);
    dial->addWidget(caption("Günstigster Eintrag:"));
    dial->addWidget(lblOverview[10]);
    dial->addWidget(Command1);
    dial->addWidget(cmdStart);
    dial->addWidget(Check1);
    dial->addStretch(1);

    // Bottom left: the user and what is left of the budgets.
    auto* budget = new QGridLayout;
    budget->setVerticalSpacing(2);
    budget->addWidget(Label2[2], 0, 0, 1, 3);
    budget->addWidget(caption("Benutzer:"), 1, 0);
    budget->addWidget(comOverviewUser, 1, 1, 1, 2);
    const char* budgetCaptions[3] = {"Tag:", "Monat:", "Zeitraum:"};
    int r = 2;
    for (int i = 0; i < 3; ++i) {
        budget->addWidget(caption(budgetCaptions[i]), r, 0);
        budget->addWidget(lblOverview[2 + i], r, 1);
        budget->addWidget(lblOverview[6 + i], r++, 2, Qt::AlignRight);
        budget->addWidget(barOverview[2 + i], r++, 1, 1, 2);
    }
    budget->addWidget(lblOverview[5], r++, 0, 1, 3);
    budget->setRowStretch(r, 1);
    budget->setColumnStretch(1, 1);

    // Bottom right: the note.
    auto* note = new QVBoxLayout;
    note->setSpacing(2);
    note->addWidget(Label2[3]);
    note->addWidget(Notiz, 1);

    grid->addLayout(tariff, 0, 0);
    grid->addLayout(dial, 0, 1);
    grid->addWidget(chkKanalbuendelung, 1, 0, 1, 2);
    grid->addLayout(budget, 2, 0);
    grid->addLayout(note, 2, 1);
    grid->setRowMinimumHeight(1, 0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    // Setting a value from code runs its handler as a user's change does.
    connect(comDFUE, &QComboBox::currentIndexChanged, this, [this] { comDFUE_Click(); });
    connect(comAnbieter, &QComboBox::currentIndexChanged, this, [this] { comAnbieter_Click(); });
    connect(comTarif, &QComboBox::currentIndexChanged, this, [this] { comTarif_Click(); });
    connect(comOverviewUser, &QComboBox::currentIndexChanged, this, [this] { comOverviewUser_Click(); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(chkFeiertag, &QCheckBox::toggled, this, [this] { chkFeiertag_Click(); });
    connect(chkKanalbuendelung, &QCheckBox::toggled, this, [this] { chkKanalbuendelung_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    ShutOutDuring(Command1, Wait::Dial); // a dial from the tray as well as the page's own
    connect(cmdStart, &QPushButton::clicked, this, [this] { cmdStart_Click(); });
    connect(Notiz, &QPlainTextEdit::textChanged, this, [this] { Notiz_Change(); });
}

template <typename F> bool Overview::waitFor(F&& call)
{
    m_guard.run(std::forward<F>(call));
    return !unloaded();
}

// The main window unloads a page by taking its name; while loading it has none yet.
bool Overview::unloaded() const { return m_guard.deleteAsked() || (!m_loading && objectName() != QLatin1String("Overview")); }

bool Overview::event(QEvent* event) { return m_guard.holdBack(event) || QWidget::event(event); }

// ---- load

void Overview::Form_Load()
{
    m_loading = true;
    chkKanalbuendelung->setChecked(G_ChannelBundling);
    for (QWidget* w : std::initializer_list<QWidget*>{comOverviewUser, comAnbieter, comTarif, comDFUE, Notiz})
        (new cFlatControl(this))->Attach(w);
    SetFlatBorder(wndOverview, true);
    LoadNote();
    GetTarife();
    GetUsers();
    GetDFUE();
    LoadOverview();
    if (m_main.Tag.isEmpty()) m_main.Tag = comOverviewUser->currentText();
    QStringList entries;
    for (int i = 0; i < comDFUE->count(); ++i) entries << comDFUE->itemText(i);
    const QString cheapest = OverviewValues::ShowCheapestEntry(entries);
    lblOverview[10]->setText(cheapest.isEmpty() ? QStringLiteral("unbekannt (keine Tarife zugewiesen)") : cheapest);
    if (G_NoMonitoringAccess) {
        Check1->setEnabled(false);
        G_MonitoringOn = true;
    }
    Check1->setChecked(G_MonitoringOn);
    chkFeiertag->setChecked(G_Holiday);
    m_loading = false;
    comTarif_Click(); // stores the choices: once, now that they are all made
}

void Overview::GetTarife()
{
    FillList(comAnbieter, ListProviders());
    if (comAnbieter->count() > 0) comAnbieter->setCurrentIndex(0);
}

void Overview::SetTarif()
{
    FillList(comTarif, ListTarifItems(comAnbieter->currentText()));
    comTarif->setEnabled(true);
    if (comTarif->count() > 0) comTarif->setCurrentIndex(0);
}

void Overview::GetDFUE()
{
    QList<RasEntryInfo> entries;
    EnumRasEntries(entries, QString());
    QStringList names;
    for (const RasEntryInfo& e : entries) names << e.szEntryName;
    FillList(comDFUE, names);
    if (comDFUE->count() > 0) comDFUE->setCurrentIndex(0);
}

void Overview::GetUsers()
{
    FillList(comOverviewUser, GetUserNames());
    if (comOverviewUser->count() == 0) return;
    if (!m_main.Tag.isEmpty()) {
        const int index = comOverviewUser->findText(m_main.Tag);
        if (index >= 0) comOverviewUser->setCurrentIndex(index);
        return;
    }
    const int supervisor = comOverviewUser->findText(SUPERVISOR);
    if (supervisor < 0) {
        waitFor([] { MsgBox(SUPERVISOR_MISSING, vbOKOnly + vbInformation); });
        return;
    }
    comOverviewUser->setCurrentIndex(supervisor);
    // the user of Config/Overview.cfg is chosen next
    m_main.Tag.clear();
}

void Overview::LoadOverview()
{
    const OverviewChoices c = ReadOverviewChoices();
    if (!c.exists) return;
    if (m_main.Tag.isEmpty()) {
        QString user = c.user;
        int index = -1;
        if (GetLogonLink() == 1) {
            user = GetWindowsUserName();
            index = comOverviewUser->findText(user);
        } else if (!user.isEmpty()) {
            index = comOverviewUser->findText(user);
        }
        if (index >= 0) comOverviewUser->setCurrentIndex(index);
    }
    const int provider = comAnbieter->findText(c.provider);
    if (provider >= 0) comAnbieter->setCurrentIndex(provider);
    const int tariff = comTarif->findText(c.tariff);
    if (tariff >= 0) comTarif->setCurrentIndex(tariff);
    // cleared first, so that the entry's own tariff assignment always wins over lines 3 and 4
    comDFUE->setCurrentIndex(-1);
    const int entry = comDFUE->findText(c.entry);
    if (entry >= 0) comDFUE->setCurrentIndex(entry);
}

void Overview::SaveOverview()
{
    if (m_loading) return;
    SaveOverviewChoices({true, comDFUE->currentText(), comOverviewUser->currentText(), comAnbieter->currentText(),
                         comTarif->currentText()});
}

// ---- choices

void Overview::comDFUE_Click()
{
    LoadEntryAssignment();
    SaveOverview();
}

void Overview::LoadEntryAssignment()
{
    QString provider, item;
    if (!ReadEntryTarif(comDFUE->currentText(), &provider, &item)) return;
    const int p = comAnbieter->findText(provider);
    if (p >= 0) comAnbieter->setCurrentIndex(p);
    const int t = comTarif->findText(item);
    if (t >= 0) comTarif->setCurrentIndex(t);
}

void Overview::comAnbieter_Click()
{
    SetTarif();
    SaveOverview();
}

void Overview::comTarif_Click()
{
    if (m_loading) return;
    const QString item = comTarif->currentText();
    if (!item.isEmpty() && (item[0] == 'A' || item[0] == 'M')) {
        G_Tariff = TarifFileName(comAnbieter->currentText(), item);
        lblOverview[0]->setText(TarifPriceText(G_Tariff, GetTarifUnit(G_Tariff)));
        ShowFreeTime(G_Tariff);
    }
    SaveOverview();
}

void Overview::ShowFreeTime(const QString& tariffFile)
{
    const OverviewValues::FreeAllowance a = OverviewValues::ShowFreeTime(tariffFile);
    Label1_36->setText(a.caption);
    lblOverview[1]->setText(a.text);
    SetLabelColor(lblOverview[1], a.colour);
    lblOverview[9]->setVisible(a.percentShown);
    barOverview[1]->setVisible(a.percentShown);
    lblOverview[9]->setText(a.percent);
    barOverview[1]->setValue(qBound(0, qRound(a.bar), 100));
}

void Overview::chkFeiertag_Click()
{
    G_Holiday = chkFeiertag->isChecked();
    if (isVisible() && !comTarif->currentText().isEmpty())
        lblOverview[0]->setText(TarifPriceText(G_Tariff, QStringLiteral("Minute")));
}

void Overview::chkKanalbuendelung_Click() { G_ChannelBundling = chkKanalbuendelung->isChecked(); }

void Overview::Check1_Click()
{
    G_MonitoringOn = Check1->isChecked();
    SaveMonitoringConfig(G_MonitoringOn ? 1 : 0);
}

// ---- user

void Overview::comOverviewUser_Click()
{
    if (isVisible() && !CheckUserPassword()) return;
    const QString user = comOverviewUser->currentText();
    G_ActiveUser = user;
    ShowRemainingBudgets(user);
    if (unloaded()) return;
    SaveOverview();
    m_main.Tag = user;
    m_main.lblStatus[2]->setText("Aktiver Benutzer: " + user);
    m_main.SetUserPreventions();
    if (G_NoMonitoringAccess) {
        Check1->setEnabled(false);
        Check1->setChecked(true);
    } else {
        Check1->setEnabled(true);
    }
    m_shownUser = comOverviewUser->currentIndex();
}

bool Overview::CheckUserPassword()
{
    const QString user = comOverviewUser->currentText();
    if (user.isEmpty()) return true;
    // only the user being put back passes unasked
    const bool restoring = !m_restoreUser.isNull() && m_restoreUser == user;
    m_restoreUser = QString();
    if (restoring) return true;
    QString password;
    if (!ReadUserPassword(user, &password)) {
        restorePreviousUser();
        return false;
    }
    if (password.isEmpty()) return true;
    QString answer;
    if (!waitFor([&] { answer = InputBox(PASSWORD_PROMPT, QStringLiteral("Passwortabfrage"), QString(), true); }))
        return false;
    if (answer == password) return true;
    if (!answer.isEmpty() && !waitFor([] { MsgBox(QStringLiteral("Falsches Passwort!"), vbOKOnly + vbCritical); }))
        return false;
    restorePreviousUser();
    return false;
}

// Back to the user shown before the change, whichever way the list was changed.
void Overview::restorePreviousUser()
{
    if (m_shownUser < 0) {
        // nobody was made active here before: none is shown, the active user stays
        const QSignalBlocker block(comOverviewUser);
        comOverviewUser->setCurrentIndex(-1);
        return;
    }
    m_restoreUser = comOverviewUser->itemText(m_shownUser);
    comOverviewUser->setCurrentIndex(m_shownUser);
}

void Overview::ShowRemainingBudgets(const QString& user)
{
    OverviewValues::RemainingBudgets budgets;
    if (!waitFor([&] { budgets = OverviewValues::ShowRemainingBudgets(user); })) return;
    m_budgets = budgets;
    const OverviewValues::BudgetLine* lines[3] = {&budgets.day, &budgets.month, &budgets.period};
    for (int i = 0; i < 3; ++i) {
        lblOverview[2 + i]->setText(lines[i]->amount);
        SetLabelColor(lblOverview[2 + i], lines[i]->amountColour);
        barOverview[2 + i]->setValue(qBound(0, qRound(lines[i]->bar), 100));
        if (!budgets.budgetFileMissing) lblOverview[6 + i]->setText(lines[i]->percent);
    }
    if (!budgets.budgetFileMissing) lblOverview[5]->setText(budgets.periodCaption);
}

bool Overview::IsBudgetExceeded() const { return OverviewValues::IsBudgetExceeded(m_budgets); }

// ---- buttons

void Overview::Command1_Click()
{
    if (IsBudgetExceeded() && G_NoDialOverBudget) {
        waitFor([] { MsgBox(DIAL_OVER_BUDGET, vbOKOnly + vbInformation); });
        return;
    }
    if (IsTimeLimitReached() && (G_DayLimitOn || G_MonthLimitOn)) {
        waitFor([] { MsgBox(DIAL_OVER_TIME_LIMIT, vbOKOnly + vbInformation); });
        return;
    }
    const QString entry = comDFUE->currentText();
    if (entry.isEmpty() || DialUnderWay()) return;
    waitFor([&entry] {
        G_DialedHere = true;
        // Nothing dialled (a refused password prompt, a dial that failed at once): no progress to show.
        if (DialEntry(QString(), entry) == 0) {
            G_DialedHere = false;
            return;
        }
        ShowStatusWindow(true);
    });
}

void Overview::cmdStart_Click()
{
    G_DetectSource = 0;
    Form1& main = m_main;
    // A refused start shows this page again with detection off; a start replaces it.
    waitFor([&main] {
        if (main.loadCounterPage()) main.placeCounterPage();
    });
}

// ---- note

void Overview::LoadNote()
{
    m_noteLoading = true;
    Notiz->setPlainText(LoadNoteText());
    m_noteLoading = false;
}

void Overview::Notiz_Change()
{
    if (m_noteLoading) return;
    if (m_note.changed(Notiz->toPlainText()) || m_noteRefusalShown) return;
    m_noteRefusalShown = true;
    waitFor([] { MsgBox(NOTE_NOT_STORED, vbOKOnly + vbExclamation); });
}

void Overview::SaveNote() { m_note.flush(); }

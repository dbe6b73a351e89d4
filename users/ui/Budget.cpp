#include "users/ui/Budget.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "core/Win1252.h"
#include "core/ui/FlatControl.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"
#include "users/BudgetFiles.h"
#include "users/BudgetPageValues.h"
#include "users/UserRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
const int AMOUNTS[3] = {0, 2, 3};
const QString DEFAULT_START = QStringLiteral("1.1.2001");
const QString DEFAULT_END = QStringLiteral("31.1.2001");
const QString PASSWORD_PROMPT = QStringLiteral("Bitte geben Sie das Passwort für diesen Benutzer ein.");

bool storable(const QStringList& texts)
{
    for (const QString& t : texts)
        if (!Win1252::encodeStrict(t)) return false;
    return true;
}

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
} // namespace

QWidget* CreateBudgetPage(Form1& mainWindow)
{
    auto* page = new Budget(mainWindow, mainWindow.pages);
    page->Form_Load();
    return page;
}

Budget::Budget(Form1& mainWindow, QWidget* parent) : QWidget(parent), m_main(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void Budget::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    lblTitel = PageTitle(QStringLiteral("Budgeteinstellungen"), this);
    outer->addWidget(lblTitel);
    wndBudget = new QFrame(this);
    wndBudget->setObjectName("wndBudget");
    outer->addWidget(wndBudget, 1);

    auto caption = [this](const char* text) { return new QLabel(QString::fromUtf8(text), wndBudget); };
    comBudgetUser = new QComboBox(wndBudget);
    comBudgetUser->setObjectName("comBudgetUser");
    comBudgetUser->setMinimumContentsLength(14);
    comBudgetTon = new QComboBox(wndBudget);
    comBudgetTon->setObjectName("comBudgetTon");
    comBudgetTon->setMinimumContentsLength(14);
    Label1_4 = caption("Benutzer:");
    for (int i : {0, 2, 3, 4, 5}) {
        txtBudget[i] = new QLineEdit(wndBudget);
        txtBudget[i]->setObjectName(QString("txtBudget_%1").arg(i));
        txtBudget[i]->setFixedWidth(i < 4 ? 52 : 90);
    }
    for (int i : AMOUNTS) {
        txtBudget[i]->setMaxLength(4);
        txtBudget[i]->setAlignment(Qt::AlignRight);
        scrlBudget[i] = new QScrollBar(Qt::Vertical, wndBudget);
        scrlBudget[i]->setObjectName(QString("scrlBudget_%1").arg(i));
        scrlBudget[i]->setRange(-9999, 0); // the amount negated: the upper arrow raises it
        scrlBudget[i]->setSingleStep(1);
        scrlBudget[i]->setPageStep(1);
        scrlBudget[i]->setValue(0);
        scrlBudget[i]->setFixedHeight(txtBudget[i]->sizeHint().height() + 4);
    }
    chkBudget[0] = new QCheckBox(QStringLiteral("Für alle Benutzer gilt das selbe Budget"), wndBudget);
    chkBudget[1] = new QCheckBox(QStringLiteral("Akustische Warnung bei Überschreitung"), wndBudget);
    chkBudget[2] = new QCheckBox(QStringLiteral("Visuelle Warnung bei Überschreitung (Hinweisfenster)"), wndBudget);
    lblRestTag = new QLabel(wndBudget);
    lblRestMonat = new QLabel(wndBudget);
    lblRestDefiniert = new QLabel(wndBudget);
    QProgressBar** bars[3] = {&barRestTag, &barRestMonat, &barRestDefiniert};
    for (QProgressBar** b : bars) {
        *b = new QProgressBar(wndBudget);
        (*b)->setRange(0, 100);
        (*b)->setValue(100);
        (*b)->setTextVisible(false);
        (*b)->setFixedSize(150, 12);
        (*b)->setStyleSheet("QProgressBar { border: 1px solid gray; background: white; }"
                            "QProgressBar::chunk { background: rgb(192, 192, 255); }");
    }

    auto* grid = new QGridLayout(wndBudget);
    grid->setContentsMargins(10, 6, 10, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    int r = 0;
    auto* help = new QLabel(QStringLiteral("Hier können Sie für jeden Benutzer ein seperates Budget anlegen oder für alle "
                                           "Benutzer ein Gesamtbudget. Das Budget gibt an, wieviel Sie für einen "
                                           "bestimmten Zeitraum maximal ausgeben wollen. Dies hilft Ihnen bei der "
                                           "Ausgabenplanung."),
                            wndBudget);
    WrapLabel(help);
    grid->addWidget(help, r++, 0, 1, 5);
    grid->addWidget(Label1_4, r, 0);
    grid->addWidget(comBudgetUser, r++, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(boldLabel(QStringLiteral("Beträge einstellen:"), wndBudget), r++, 0, 1, 5);
    const char* amountCaptions[3] = {"Am Tag", "Im Monat", "Im u.g. Zeitraum"};
    for (int k = 0; k < 3; ++k) {
        const int i = AMOUNTS[k];
        auto* pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(txtBudget[i]);
        pair->addWidget(scrlBudget[i]);
        grid->addWidget(caption(amountCaptions[k]), r, 0);
        grid->addLayout(pair, r, 1, Qt::AlignLeft);
        grid->addWidget(caption("€ nicht überschreiten."), r++, 2, 1, 3);
    }
    auto* period = new QHBoxLayout;
    period->addWidget(caption("Vom:"));
    period->addWidget(txtBudget[4]);
    period->addSpacing(10);
    period->addWidget(caption("bis zum:"));
    period->addWidget(txtBudget[5]);
    period->addStretch(1);
    grid->addLayout(period, r++, 0, 1, 5);
    grid->addWidget(chkBudget[0], r++, 0, 1, 5);
    grid->addWidget(caption("Alarmierung:"), r++, 0, 1, 5);
    grid->addWidget(chkBudget[1], r++, 0, 1, 5);
    grid->addWidget(chkBudget[2], r++, 0, 1, 5);
    grid->addWidget(caption("Warnton:"), r, 0);
    grid->addWidget(comBudgetTon, r++, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(boldLabel(QStringLiteral("Aktuell:"), wndBudget), r++, 0, 1, 5);
    QLabel* rest[3] = {lblRestTag, lblRestMonat, lblRestDefiniert};
    const char* restCaptions[3] = {"Tag:", "Monat:", "Definiert:"};
    for (int k = 0; k < 3; ++k) {
        grid->addWidget(caption(restCaptions[k]), r, 0);
        grid->addWidget(*bars[k], r, 1, 1, 2, Qt::AlignLeft);
        grid->addWidget(rest[k], r++, 3, 1, 2);
    }
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(4, 1);

    // Setting a value from code runs its handler as a user's change does.
    connect(comBudgetUser, &QComboBox::currentIndexChanged, this, [this] { comBudgetUser_Click(); });
    connect(comBudgetTon, &QComboBox::currentIndexChanged, this, [this] { comBudgetTon_Click(); });
    for (int i = 0; i < 3; ++i) connect(chkBudget[i], &QCheckBox::toggled, this, [this, i] { chkBudget_Click(i); });
    for (int i : {0, 2, 3, 4, 5}) {
        connect(txtBudget[i], &QLineEdit::textChanged, this, [this, i] { txtBudget_Change(i); });
        OnLostFocus(txtBudget[i], [this, i] { txtBudget_LostFocus(i); });
    }
    for (int i : AMOUNTS) connect(scrlBudget[i], &QScrollBar::valueChanged, this, [this, i] { scrlBudget_Change(i); });
}

// ---- load

void Budget::Form_Load()
{
    m_loadingPage = true;
    for (QWidget* w : std::initializer_list<QWidget*>{comBudgetUser, comBudgetTon, txtBudget[0], txtBudget[2],
                                                      txtBudget[3], txtBudget[4], txtBudget[5]})
        (new cFlatControl(this))->Attach(w);
    SetFlatBorder(wndBudget, true);
    GetUsers(m_main.Tag);
    GetSounds();
    LoadBudgetOptions();
    m_loadingPage = false;
    // the remaining budgets once, for the choices the load has made
    ShowRemainingBudgets(chkBudget[0]->isChecked() ? QString() : comBudgetUser->currentText());
}

void Budget::GetUsers(const QString& user)
{
    int select = -1;
    {
        const QSignalBlocker block(comBudgetUser);
        comBudgetUser->clear();
        comBudgetUser->addItems(BudgetPageValues::GetBudgetUsers());
        comBudgetUser->setCurrentIndex(-1);
        for (int i = 0; i < comBudgetUser->count(); ++i)
            if (!user.isEmpty() && comBudgetUser->itemText(i).toLower() == user.toLower()) select = i;
    }
    if (comBudgetUser->count() == 0) return;
    // The active user's budget opens unasked; any other user's only with its password.
    m_askUnlisted = select < 0;
    comBudgetUser->setCurrentIndex(select < 0 ? 0 : select);
    m_askUnlisted = false;
}

void Budget::GetSounds()
{
    QStringList names;
    for (const QString& file : ListFolder(ProgramPath(QStringLiteral("Sounds")), QStringLiteral("*.wav")))
        names << file.chopped(4);
    const QSignalBlocker block(comBudgetTon);
    comBudgetTon->clear();
    comBudgetTon->addItems(names);
    comBudgetTon->setCurrentIndex(-1);
}

void Budget::LoadBudgetOptions()
{
    m_loadingOptions = true;
    bool exists = false;
    const BudgetOptions o = ReadBudgetOptions(&exists);
    if (exists) {
        chkBudget[0]->setChecked(o.sameForAll);
        chkBudget[1]->setChecked(o.acousticWarning);
        chkBudget[2]->setChecked(o.visualWarning);
        const int sound = comBudgetTon->findText(o.sound);
        if (sound >= 0) comBudgetTon->setCurrentIndex(sound);
    }
    m_loadingOptions = false;
    if (comBudgetTon->count() > 0 && comBudgetTon->currentIndex() < 0) comBudgetTon->setCurrentIndex(0);
}

void Budget::SaveBudgetOptions()
{
    if (m_loadingOptions) return;
    const BudgetOptions o{chkBudget[0]->isChecked(), chkBudget[1]->isChecked(), chkBudget[2]->isChecked(),
                          comBudgetTon->currentText()};
    if (WriteBudgetOptions(o)) return;
    const bool unstorable = !storable({o.sound});
    MsgBox(unstorable ? QString::fromUtf8(UNSTORABLE_INPUT_MESSAGE) : BudgetPageValues::BUDGET_NOT_WRITTEN,
           vbOKOnly + vbExclamation);
}

// ---- budgets

void Budget::fillBoxes(const QString& day, const QString& month, const QString& period, const QString& start,
                       const QString& end)
{
    m_loadingBudget = true;
    txtBudget[0]->setText(day);
    txtBudget[2]->setText(month);
    txtBudget[3]->setText(period);
    txtBudget[4]->setText(FormatShortDate(start));
    txtBudget[5]->setText(FormatShortDate(end));
    m_loadingBudget = false;
}

void Budget::LoadBudget()
{
    if (!chkBudget[0]->isChecked()) return;
    bool ok = false;
    const QStringList lines = ReadTextLines(CommonBudgetPath(), &ok);
    if (ok && lines.size() >= 5) {
        fillBoxes(lines[0], lines[1], lines[2], lines[3], lines[4]);
        return;
    }
    // The defaults enter as a whole and are then saved once, dates included.
    fillBoxes("0", "0", "0", DEFAULT_START, DEFAULT_END);
    SaveBudget();
}

void Budget::SaveBudget()
{
    if (m_loadingBudget) return;
    const QString user = comBudgetUser->currentText();
    if (!chkBudget[0]->isChecked() && user.isEmpty()) return;
    const QString path = chkBudget[0]->isChecked() ? CommonBudgetPath() : UserBudgetPath(user);
    if (path.isEmpty()) return;
    const BudgetRecord record{txtBudget[0]->text(), txtBudget[2]->text(), txtBudget[3]->text(), txtBudget[4]->text(),
                              txtBudget[5]->text()};
    if (!WriteBudgetRecord(path, record)) {
        const bool fits = storable({record.day, record.month, record.period, record.start, record.end});
        MsgBox(fits ? BudgetPageValues::BUDGET_NOT_WRITTEN : QString::fromUtf8(UNSTORABLE_INPUT_MESSAGE),
               vbOKOnly + vbExclamation);
        showStoredBudget();
        return;
    }
    ShowRemainingBudgets(user);
    if (IsFormLoaded(QStringLiteral("Connection")) && m_main.counterPage()) m_main.counterPage()->GetBudget();
}

// The boxes show what their file holds after a refused save.
void Budget::showStoredBudget()
{
    const QString path =
        chkBudget[0]->isChecked() ? CommonBudgetPath() : UserBudgetPath(comBudgetUser->currentText());
    bool ok = false;
    const QStringList lines = ReadTextLines(path, &ok);
    if (ok && lines.size() >= 5) fillBoxes(lines[0], lines[1], lines[2], lines[3], lines[4]);
}

void Budget::setBudgetsEnabled(bool enabled)
{
    for (int i : {0, 2, 3, 4, 5}) txtBudget[i]->setEnabled(enabled);
    for (int i : AMOUNTS) scrlBudget[i]->setEnabled(enabled);
}

void Budget::ActivateBudgets() { setBudgetsEnabled(true); }

void Budget::DeactivateBudgets()
{
    if (comBudgetUser->count() == 0) setBudgetsEnabled(false);
}

// ---- user

void Budget::comBudgetUser_Click()
{
    if (!SelectBudgetUser(true)) return;
    ShowRemainingBudgets(comBudgetUser->currentText());
}

bool Budget::SelectBudgetUser(bool askPassword)
{
    const QString user = comBudgetUser->currentText();
    if (user.isEmpty()) return true;
    // only the user being put back passes unasked
    const bool restoring = !m_restoreUser.isNull() && m_restoreUser == user;
    m_restoreUser = QString();
    QString password;
    const StoredFile record = ReadRecordPassword(user, &password);
    if (record == StoredFile::Unreadable) {
        MsgBox(USER_UNREADABLE_MESSAGE, vbOKOnly + vbExclamation);
        revertUser();
        return false;
    }
    if (record == StoredFile::Ok) {
        if (!restoring && askPassword && (isVisible() || m_askUnlisted) && !password.isEmpty()) {
            const QString answer =
                InputBox(PASSWORD_PROMPT, QStringLiteral("Passwortabfrage"), QString(), true);
            if (answer != password) {
                if (!answer.isEmpty()) MsgBox(QStringLiteral("Falsches Passwort!"), vbOKOnly + vbCritical);
                revertUser();
                return false;
            }
        }
        BudgetRecord b;
        if (ReadBudgetRecord(UserBudgetPath(user), b) == StoredFile::Ok) {
            fillBoxes(GeneralDouble(b.dayAmount()), GeneralDouble(b.monthAmount()), GeneralDouble(b.periodAmount()),
                      b.start, b.end);
            ActivateBudgets();
            m_shownUser = comBudgetUser->currentIndex();
            return true;
        }
    }
    // A lost record or budget file: the budget starts anew.
    const BudgetRecord defaults = BudgetRecord::newUserDefaults();
    const bool written = WriteBudgetRecord(UserBudgetPath(user), defaults);
    fillBoxes("0", "0", "0", defaults.start, defaults.end);
    ActivateBudgets();
    m_shownUser = comBudgetUser->currentIndex();
    MsgBox(written ? BudgetPageValues::BUDGET_RECREATED : USER_FILES_WRITE_FAILED, vbOKOnly + vbExclamation);
    return true;
}

// Back to the user shown before the refused choice; with none, no user is shown.
void Budget::revertUser()
{
    if (m_shownUser >= 0 && m_shownUser < comBudgetUser->count()) {
        m_restoreUser = comBudgetUser->itemText(m_shownUser);
        comBudgetUser->setCurrentIndex(m_shownUser);
        return;
    }
    {
        const QSignalBlocker block(comBudgetUser);
        comBudgetUser->setCurrentIndex(-1);
    }
    m_loadingBudget = true;
    for (int i : {0, 2, 3, 4, 5}) txtBudget[i]->clear();
    m_loadingBudget = false;
    setBudgetsEnabled(false);
    ShowRemainingBudgets(QString());
}

// ---- boxes and bars

void Budget::txtBudget_Change(int index)
{
    if (index > 3) return;
    const int value = BudgetPageValues::AmountScrollValue(txtBudget[index]->text());
    if (scrlBudget[index]->value() != value) scrlBudget[index]->setValue(value);
}

void Budget::scrlBudget_Change(int index)
{
    txtBudget[index]->setText(QString::number(-scrlBudget[index]->value()));
    SaveBudget();
}

void Budget::txtBudget_LostFocus(int index)
{
    if (index <= 3) {
        txtBudget_Change(index);
        txtBudget[index]->setText(QString::number(-scrlBudget[index]->value()));
    } else {
        txtBudget[index]->setText(FormatShortDate(txtBudget[index]->text()));
    }
    SaveBudget();
}

void Budget::comBudgetTon_Click() { SaveBudgetOptions(); }

void Budget::chkBudget_Click(int)
{
    if (chkBudget[0]->isChecked()) {
        LoadBudget();
        ActivateBudgets();
        Label1_4->setEnabled(false);
        comBudgetUser->setEnabled(false);
        SaveBudgetOptions();
        ShowRemainingBudgets(QString());
    } else {
        comBudgetUser->setEnabled(true);
        Label1_4->setEnabled(true);
        DeactivateBudgets();
        SelectBudgetUser(false);
        SaveBudgetOptions();
        ShowRemainingBudgets(comBudgetUser->currentText());
    }
}

void Budget::ShowRemainingBudgets(const QString& user)
{
    if (m_loadingPage) return;
    const BudgetPageValues::RemainingBudgets r = BudgetPageValues::ShowRemainingBudgets(user);
    QLabel* labels[3] = {lblRestTag, lblRestMonat, lblRestDefiniert};
    QProgressBar* bars[3] = {barRestTag, barRestMonat, barRestDefiniert};
    const BudgetPageValues::Remaining* shown[3] = {&r.day, &r.month, &r.period};
    for (int i = 0; i < 3; ++i) {
        labels[i]->setText(shown[i]->text);
        bars[i]->setValue(shown[i]->bar);
    }
}

#include "users/ui/User.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"
#include "core/VB.h"
#include "core/Win1252.h"
#include "core/ui/FlatControl.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/MainWindowFiles.h"
#include "recording/ui/Form1.h"
#include "users/UserRecord.h"
#include "users/ui/Options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString PASSWORD_QUESTION = QStringLiteral("Bitte geben Sie das Passwort für diesen Benutzer ein.");
const QString HELP_LOGON = QStringLiteral(
    "Wenn Sie die Benutzerauswahl mit dem Windows Logon verknüpfen, wird beim Start von Zumbrel automatisch der "
    "Benutzer gewählt, der sich bei Windows eingeloggt hat. Eine Passwortabfrage findet dann nicht statt. "
    "Voraussetzung dafür ist, daß die entsprechenden Benutzernamen in Zumbrel identisch zu den Login Namen von "
    "Windows sind.");
const QString HELP_LIMITS = QStringLiteral(
    "Die automatische Trennung bei den letzen beiden Zugriffseinschränkungen kann nicht abgebrochen werden. Der "
    "jeweilige Benutzer erhält 2 Minuten Zeit bevor die Verbindung getrennt wird, um die aktuelle Tätigkeit noch "
    "abzuschließen. Es kann allerdings vorkommen, daß längere Downloads durch die automatische Trennung abgebrochen "
    "werden. Deshalb sollten Sie den jeweils eingeschränkten Benutzer über sein Zeit-/Budgetlimit informieren. Für "
    "durch die automatische Trennung abgebrochene Vorgänge wird kein Schadensersatz geleistet!");

// 15 blanks between "als" and "Min": the minutes box sits in that gap.
const QString LIMIT_LEAD = QStringLiteral("Einwahl bei mehr als ");
const QString LIMIT_GAP = QString(14, ' ');

// Check box states as the record holds them: 0 off, 1 on, 2 greyed.
int boxValue(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void setBoxValue(QCheckBox* box, int value)
{
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

bool fitsCodePage(const QStringList& values)
{
    for (const QString& v : values)
        if (!Win1252::encodeStrict(v)) return false;
    return true;
}

// The minutes box inside the gap of its check box's caption; a click on the box does not tick it.
QLineEdit* minutesBox(QCheckBox* box, const QString& text)
{
    auto* edit = new QLineEdit(text, box);
    const QFontMetrics metrics(box->font());
    const int x = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                  box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) +
                  metrics.horizontalAdvance(LIMIT_LEAD);
    const int height = edit->sizeHint().height();
    edit->setGeometry(x, 0, metrics.horizontalAdvance(LIMIT_GAP), height);
    box->setMinimumHeight(height);
    return edit;
}

class HelpLink : public QObject {
public:
    HelpLink(QLabel* label, std::function<void()> click) : QObject(label), m_click(std::move(click))
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_click;
};
} // namespace

QWidget* CreateUserPage(Form1& mainWindow)
{
    auto* page = new User(mainWindow, mainWindow.pages);
    page->Form_Load();
    return page;
}

User::User(Form1& mainWindow, QWidget* parent) : QWidget(parent), m_main(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void User::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndUser = new QFrame(this);
    wndUser->setObjectName("wndUser");
    outer->addWidget(wndUser);
    auto* layout = new QVBoxLayout(wndUser);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(3);

    lblTitel = PageTitle("Benutzereinstellungen", wndUser);
    layout->addWidget(lblTitel);
    auto* intro = new QLabel(
        "Jedem Benutzer können Zugriffseinschränkungen zugeordnet werden, z.B. zur Kindersicherung.", wndUser);
    WrapLabel(intro);
    layout->addWidget(intro);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    comUser = new QComboBox(wndUser);
    comUser->setObjectName("comUser");
    comUser->setEditable(false);
    txtUserPassword = new QLineEdit(wndUser);
    txtUserPassword->setObjectName("txtUserPassword");
    txtUserPassword->setEchoMode(QLineEdit::Password);
    grid->addWidget(new QLabel("Benutzer:", wndUser), 0, 0);
    grid->addWidget(comUser, 0, 1);
    grid->addWidget(new QLabel("Passwort:", wndUser), 1, 0);
    grid->addWidget(txtUserPassword, 1, 1);
    grid->addWidget(new QLabel("(Optional)", wndUser), 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    const char* captions[9] = {"Zugriff auf Benutzereinstellungen verbieten",
                               "Zugriff auf Überwachung / DFÜ Einstellungen verbieten",
                               "Zugriff auf Budgeteinstellungen verbieten",
                               "Kann keine Listeneinträge erstellen, löschen o. ändern",
                               "Einwahl bei Überschreitung des Budgets verbieten",
                               "Benutzerauswahl mit Windows Logon verknüpfen",
                               "Zugriff auf Listenansicht und Auswertungen verbieten",
                               "Einwahl bei mehr als               Min/Tag verbieten",
                               "Einwahl bei mehr als               Min/Monat verbieten"};
    for (int i = 0; i < 9; ++i) {
        chkUser[i] = new QCheckBox(QString::fromUtf8(captions[i]), wndUser);
        chkUser[i]->setObjectName(QString("chkUser_%1").arg(i));
    }
    txtTimeLimit = minutesBox(chkUser[7], "60");
    txtTimeLimit->setObjectName("txtTimeLimit");
    txtTimeLimit2 = minutesBox(chkUser[8], "600");
    txtTimeLimit2->setObjectName("txtTimeLimit2");

    layout->addWidget(chkUser[5]);
    auto* heading = new QLabel("Zugriffssteuerung:", wndUser);
    heading->setFont(lblTitel->font());
    layout->addSpacing(4);
    layout->addWidget(heading);
    for (int i : {0, 1, 2, 6, 3, 4, 8, 7}) layout->addWidget(chkUser[i]);
    layout->addWidget(new QLabel("Bei diesen Optionen wird die Verbindung automatisch getrennt.", wndUser));

    lblHilfe = new QLabel(">>> Erläuterungen", wndUser);
    lblHilfe->setObjectName("lblHilfe");
    SetLabelColor(lblHilfe, 0xFF0000); // blue as the original's colour value
    lblHilfe->setCursor(Qt::PointingHandCursor);
    new HelpLink(lblHilfe, [this] { lblHilfe_Click(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblHilfe);
    buttons->addStretch(1);
    const char* buttonCaptions[2] = {"Benutzer hinzufügen", "Benutzer löschen"};
    for (int i = 0; i < 2; ++i) {
        cmdUser[i] = new QPushButton(QString::fromUtf8(buttonCaptions[i]), wndUser);
        connect(cmdUser[i], &QPushButton::clicked, this, [this, i] { cmdUser_Click(i); });
        buttons->addWidget(cmdUser[i]);
    }
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(comUser, &QComboBox::currentIndexChanged, this, [this] { comUser_Click(); });
    for (int i = 0; i < 9; ++i) connect(chkUser[i], &QCheckBox::stateChanged, this, [this, i] { chkUser_Click(i); });
    connect(txtUserPassword, &QLineEdit::textChanged, this, [this] { txtUserPassword_Change(); });
    OnLostFocus(txtTimeLimit, [this] { txtTimeLimit_LostFocus(); });
    OnLostFocus(txtTimeLimit2, [this] { txtTimeLimit2_LostFocus(); });
}

void User::Form_Load()
{
    for (QWidget* w : std::initializer_list<QWidget*>{comUser, txtUserPassword}) (new cFlatControl(this))->Attach(w);
    SetFlatBorder(wndUser, true);
    DeactivateUsers();
    // The active user is shown without a question; any other first user must give its password.
    bool listed = false;
    for (const QString& name : GetUserNames()) listed = listed || name.toLower() == m_main.Tag.toLower();
    m_asking = !listed;
    GetUsers(m_main.Tag);
    m_asking = true;
    const bool loading = std::exchange(m_loading, true);
    chkUser[5]->setChecked(GetLogonLink() == 1);
    m_loading = loading;
}

void User::DeactivateUsers()
{
    for (int i : {0, 1, 2, 3, 4, 6, 7, 8}) chkUser[i]->setEnabled(false);
    for (QLineEdit* box : {txtUserPassword, txtTimeLimit, txtTimeLimit2}) box->setEnabled(false);
}

void User::ActivateUsers()
{
    for (int i : {0, 1, 2, 3, 4, 6, 7, 8}) chkUser[i]->setEnabled(true);
    for (QLineEdit* box : {txtUserPassword, txtTimeLimit, txtTimeLimit2}) box->setEnabled(true);
}

void User::GetUsers(const QString& name)
{
    {
        const QSignalBlocker block(comUser);
        comUser->clear();
        comUser->addItems(GetUserNames());
        comUser->setCurrentIndex(-1);
    }
    int wanted = comUser->count() > 0 ? 0 : -1;
    if (!name.isEmpty())
        for (int i = 0; i < comUser->count(); ++i)
            if (comUser->itemText(i).toLower() == name.toLower()) wanted = i;
    // a change from no selection: the click handler shows the user
    comUser->setCurrentIndex(wanted);
    if (wanted < 0) comUser_Click();
}

void User::comUser_Click()
{
    // a minutes box still being typed in belongs to the user shown so far
    FlushLostFocus(this);
    if (!SelectUser()) return;
    const QString name = comUser->currentText();
    G_ActiveUser = name;
    m_main.Tag = name;
    m_main.lblStatus[2]->setText("Aktiver Benutzer: " + name);
    m_main.SetUserPreventions();
}

bool User::SelectUser()
{
    const QString name = comUser->currentText();
    const bool restoring = !m_restoreUser.isNull() && m_restoreUser == name;
    m_restoreUser = QString();
    if (name.isEmpty()) {
        DeactivateUsers();
        return false;
    }
    UserRecord record;
    const StoredFile state = ReadUserRecord(name, record);
    if (state == StoredFile::Unreadable) {
        // It still holds its password and restrictions: nothing is shown or saved for it.
        MsgBox(USER_UNREADABLE_MESSAGE, vbOKOnly + vbExclamation);
        if (restoring) m_shownUser.clear();
        returnToShownUser();
        return false;
    }
    // A damaged record is written anew only once its password was given, so a damage never opens a
    // protected user; only a missing one (which holds no password) is recreated unasked.
    if (state != StoredFile::Missing && m_asking && !restoring) {
        QString password = record.password;
        if (state != StoredFile::Ok && !ReadPasswordLine(name, &password)) password.clear();
        if (!password.isEmpty()) {
            const QString answer = InputBox(PASSWORD_QUESTION, QStringLiteral("Passwortabfrage"), QString(), true);
            if (answer != password) {
                if (!answer.isEmpty()) MsgBox(QStringLiteral("Falsches Passwort!"), vbOKOnly + vbCritical);
                returnToShownUser();
                return false;
            }
        }
    }
    if (state != StoredFile::Ok) record = LoadUserRecord(name);
    m_shownUser = name;
    showRecord(record);
    return true;
}

void User::showRecord(const UserRecord& r)
{
    const bool loading = std::exchange(m_loading, true);
    if (m_shownUser == SUPERVISOR) {
        DeactivateUsers();
        txtUserPassword->setEnabled(true);
    } else {
        ActivateUsers();
    }
    const int flags[7] = {r.noUserSettings, r.noMonitoringSettings, r.noBudgetSettings, r.noListEdit,
                          r.noDialOverBudget, r.noListView, r.dayLimitOn};
    const int boxes[7] = {0, 1, 2, 3, 4, 6, 7};
    for (int i = 0; i < 7; ++i) setBoxValue(chkUser[boxes[i]], flags[i]);
    txtTimeLimit->setText(r.dayLimitMinutes);
    txtUserPassword->setText(r.password);
    setBoxValue(chkUser[8], r.monthLimitOn);
    txtTimeLimit2->setText(r.monthLimitMinutes);
    if (m_shownUser != SUPERVISOR) chkUser[3]->setEnabled(!chkUser[6]->isChecked());
    m_loading = loading;
}

// Back to the user shown before the change, whichever way the list was changed; with none, none.
void User::returnToShownUser()
{
    const int index = m_shownUser.isEmpty() ? -1 : comUser->findText(m_shownUser, Qt::MatchExactly);
    if (index < 0) {
        m_shownUser.clear();
        const bool loading = std::exchange(m_loading, true);
        {
            const QSignalBlocker block(comUser);
            comUser->setCurrentIndex(-1);
        }
        showRecord(UserRecord());
        DeactivateUsers();
        m_loading = loading;
        return;
    }
    m_restoreUser = m_shownUser;
    comUser->setCurrentIndex(index);
}

UserRecord User::recordOfControls() const
{
    UserRecord r;
    r.noUserSettings = boxValue(chkUser[0]);
    r.noMonitoringSettings = boxValue(chkUser[1]);
    r.noBudgetSettings = boxValue(chkUser[2]);
    r.noListEdit = boxValue(chkUser[3]);
    r.noDialOverBudget = boxValue(chkUser[4]);
    r.noListView = boxValue(chkUser[6]);
    r.dayLimitOn = boxValue(chkUser[7]);
    r.dayLimitMinutes = txtTimeLimit->text();
    r.password = txtUserPassword->text();
    r.monthLimitOn = boxValue(chkUser[8]);
    r.monthLimitMinutes = txtTimeLimit2->text();
    return r;
}

// Saves for the user whose values the controls hold; a refused save shows the stored values again.
void User::SaveUser()
{
    if (m_shownUser.isEmpty()) return;
    const UserRecord record = recordOfControls();
    if (::SaveUser(m_shownUser, record)) return;
    MsgBox(fitsCodePage(record.plainLines()) ? USER_FILES_WRITE_FAILED : QString(UNSTORABLE_INPUT_MESSAGE),
           vbOKOnly + vbExclamation);
    UserRecord stored;
    if (ReadUserRecord(m_shownUser, stored) == StoredFile::Ok) showRecord(stored);
}

void User::NewUser()
{
    const QString name = ::NewUser();
    if (!name.isEmpty()) GetUsers(name);
}

void User::DeleteUser()
{
    if (::DeleteUser(m_shownUser)) GetUsers();
}

void User::chkUser_Click(int index)
{
    if (m_loading) return;
    if (index == 6) chkUser[3]->setEnabled(!chkUser[6]->isChecked());
    if (index == 5) {
        const int value = boxValue(chkUser[5]);
        // " 0" or " 1" always fits the code page: only the write itself can fail (a full disk)
        if (!WriteTextLines(ProgramPath("Config/Users.cfg"), {Str(value)})) {
            MsgBox(OPTIONS_WRITE_FAILED_MESSAGE, vbOKOnly + vbExclamation);
            const bool loading = std::exchange(m_loading, true);
            chkUser[5]->setChecked(GetLogonLink() == 1);
            m_loading = loading;
        }
    } else {
        SaveUser();
    }
    m_main.SetUserPreventions();
}

// The largest whole number not above the box's value; an unreadable text gives "0". A limit outside its
// range is refused (a negative one would end every connection at once). False when nothing is to be saved.
bool User::floorMinutes(QLineEdit* box)
{
    if (m_loading || m_shownUser.isEmpty()) return false;
    const bool loading = std::exchange(m_loading, true);
    const bool taken = TakeCheckedInput(box, TypedWhole(box->text(), MINUTES_RANGE));
    m_loading = loading;
    return taken;
}

void User::txtTimeLimit_LostFocus()
{
    if (floorMinutes(txtTimeLimit)) SaveUser();
}

void User::txtTimeLimit2_LostFocus()
{
    if (floorMinutes(txtTimeLimit2)) SaveUser();
}

void User::txtUserPassword_Change()
{
    if (!m_loading) SaveUser();
}

void User::cmdUser_Click(int index)
{
    if (index == 0) NewUser();
    else if (index == 1) DeleteUser();
}

void User::lblHilfe_Click() { MsgBox(HELP_LOGON + "\r\n\r\n" + HELP_LIMITS, vbOKOnly + vbInformation, APP_TITLE); }


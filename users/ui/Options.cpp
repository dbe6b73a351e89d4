#include "users/ui/Options.h"

#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/platform/SessionAutostart.h"
#include "core/ui/FlatControl.h"
#include "core/ui/LostFocus.h"
#include "core/ui/OpenFileDialog.h"
#include "core/ui/WindowUtils.h"
#include "recording/Prelaunch.h"
#include "recording/ui/Form1.h"
#include "users/ProgramOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
const char* const CURRENCIES[12] = {"Euro",           "Schweizer Franken",  "Dollar",          "Pfund",
                                    "Franc",          "Türkische Lira",     "Dänische Kronen", "Norwegische Kronen",
                                    "Polnische Zloty", "Schwedische Kronen", "Südafrikanische Rand",
                                    "Tschechische Kronen"};

const QString DIALER_HELP = QStringLiteral(
    "Im Internet kursieren sogenannte Dialer Programme, die besonders von unseriösen Seiten mit "
    "pornographischem Inhalt eingesetzt werden. Teilweise geschieht das sogar nahezu unbemerkt. Diese kleinen "
    "Programme werden automatisch vom Browser heruntergeladen (kann durch bessere Sicherheitseinstellungen im "
    "Browser verhindert werden). Wenn Sie dann auf der Festplatte sind, tragen Sie zum Beispiel eine teure "
    "0190iger Nummer als Standard Internetverbindung ein und wählen diese statt der normalen Verbindung an. Um "
    "dies zu verhindern, aktivieren Sie diese Option und lassen Sie in der nebenstehenden Liste alle Ihre "
    "normalen DFÜ Verbindungen angewählt. Dadurch werden alle Verbindungen, die nicht diese Namen tragen sofort "
    "nach dem Verbindungsaufbau wieder getrennt. Es entstehen also höchstens die Kosten für die ersten Sekunden. "
    "Die automatische Überwachung von Zumbrel muß dafür aktiv sein und funktionieren.");

int value(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

QList<ListPair> pairsOf(const QListWidget* list)
{
    QList<ListPair> pairs;
    for (int i = 0; i < list->count(); ++i)
        pairs.append({list->item(i)->text(), list->item(i)->checkState() == Qt::Checked});
    return pairs;
}

// A check box whose caption is too long for one line: the caption wraps in a label beside the box and
// clicking it toggles the box, as clicking the caption does.
class WrappedCaption : public QObject {
public:
    WrappedCaption(QCheckBox* box, QLabel* label) : QObject(label), m_box(box) { label->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && m_box->isEnabled()) m_box->toggle();
        return false;
    }

private:
    QCheckBox* m_box;
};

QWidget* wrapped(QCheckBox* box)
{
    auto* row = new QWidget(box->parentWidget());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* label = new QLabel(box->text(), row);
    WrapLabel(label);
    box->setAccessibleName(label->text());
    box->setText(QString());
    box->setParent(row);
    new WrappedCaption(box, label);
    layout->addWidget(box, 0, Qt::AlignTop);
    layout->addWidget(label, 1);
    return row;
}

QListWidgetItem* checkableItem(const QString& text, bool ticked)
{
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}
} // namespace

QWidget* CreateOptionsPage(Form1& mainWindow)
{
    auto* page = new Options(mainWindow.pages);
    page->Form_Load();
    return page;
}

Options::Options(QWidget* parent) : QWidget(parent)
{
    setObjectName("Options");
    setWindowTitle("Sonstige Einstellungen");
    buildControls();
}

void Options::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndOptions = new QFrame(this);
    wndOptions->setObjectName("wndOptions");
    outer->addWidget(wndOptions);

    lblTitel = PageTitle("Sonstige Einstellungen", wndOptions);
    const char* labels[4] = {
        "Bestimmen Sie hier das anzuzeigende Währungszeichen.", "Beispiel:",
        "Zumbrel kann bei Aufbau einer DFÜ Verbindung automatisch andere Programme starten. Wählen Sie die "
        "entsprechende Verbindung aus und ordnen Sie ihr die zu startenden Programme zu. (Gilt nur für von Zumbrel "
        "aufgebaute Verbindungen)",
        "Bricht z.B. unerwünschte Verbindungen durch kostenpflichtige 0190 Dialer sofort ab (Überwachung muß aktiv "
        "sein)."};
    for (int i = 0; i < 4; ++i) {
        Label1[i] = new QLabel(QString::fromUtf8(labels[i]), wndOptions);
        if (i != 1) WrapLabel(Label1[i]);
    }
    for (int i = 0; i < 2; ++i) {
        Combo1[i] = new QComboBox(wndOptions);
        Combo1[i]->setObjectName(QString("Combo1_%1").arg(i));
    }
    KeepListWidth(Combo1[1], 8); // an entry's long name must not push the box beside it aside
    {
        const QSignalBlocker blocker(Combo1[0]);
        for (const char* name : CURRENCIES) Combo1[0]->addItem(QString::fromUtf8(name));
        Combo1[0]->setCurrentIndex(-1);
    }
    Label2 = new QLabel(wndOptions);
    const char* checks[4] = {"Beim Minimieren des Zumbrel Fensters nur ein Symbol neben der Uhr anzeigen",
                             "Zumbrel minimiert starten", "Zumbrel beim Hochfahren automatisch mitstarten",
                             "Nur die markierten DFÜ Einträge zulassen:"};
    for (int i = 0; i < 4; ++i) Check2[i] = new QCheckBox(QString::fromUtf8(checks[i]), wndOptions);
    Check1 = new QCheckBox("Für alle Verbindungen die selben Programme", wndOptions);
    List1 = new QListWidget(wndOptions);
    List1->setObjectName("List1");
    List2 = new QListWidget(wndOptions);
    List2->setObjectName("List2");
    List2->setEnabled(false);
    Command1 = new QPushButton("Programm hinzufügen", wndOptions);
    Command2 = new QPushButton("Programm entfernen", wndOptions);
    Label3 = new QLabel(">> mehr", wndOptions);
    SetLinkLook(Label3, true);
    Label3->installEventFilter(this);

    auto* grid = new QGridLayout(wndOptions);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    grid->addWidget(lblTitel, 0, 0, 1, 2);
    grid->addWidget(Label1[0], 1, 0, 1, 2);
    auto* currency = new QHBoxLayout;
    currency->addWidget(Combo1[0]);
    currency->addSpacing(12);
    currency->addWidget(Label1[1]);
    currency->addSpacing(4);
    currency->addWidget(Label2, 1);
    grid->addLayout(currency, 2, 0, 1, 2);
    grid->addWidget(wrapped(Check2[0]), 3, 0, 1, 2);
    grid->addWidget(Check2[1], 4, 0, 1, 2);
    grid->addWidget(Check2[2], 5, 0, 1, 2);

    grid->addWidget(Label1[2], 6, 0, 1, 2);
    auto* programFile = new QHBoxLayout;
    programFile->addWidget(Check1);
    programFile->addWidget(Combo1[1], 1);
    grid->addLayout(programFile, 7, 0, 1, 2);
    grid->addWidget(List1, 8, 0);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    grid->addLayout(buttons, 8, 1);

    grid->addWidget(Check2[3], 9, 0, 1, 2);
    grid->addWidget(Label1[3], 10, 0, 1, 2);
    grid->addWidget(List2, 11, 0);
    grid->addWidget(Label3, 11, 1, Qt::AlignTop);
    grid->setRowStretch(8, 1);
    grid->setRowStretch(11, 1);
    grid->setColumnStretch(0, 1);

    // Setting a value from code runs its handler as a user's change does.
    for (int i = 0; i < 2; ++i)
        connect(Combo1[i], &QComboBox::currentIndexChanged, this, [this, i] { Combo1_Click(i); });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    for (int i = 0; i < 4; ++i) connect(Check2[i], &QCheckBox::toggled, this, [this, i] { Check2_Click(i); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(List1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) { List1_ItemCheck(List1->row(item)); });
    connect(List2, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) { List2_ItemCheck(List2->row(item)); });
}

template <typename F> bool Options::waitFor(F&& call)
{
    m_guard.run(std::forward<F>(call));
    return !m_guard.deleteAsked() && objectName() == QLatin1String("Options");
}

bool Options::event(QEvent* event) { return m_guard.holdBack(event) || QWidget::event(event); }

bool Options::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label3 && event->type() == QEvent::MouseButtonRelease) Label3_Click();
    return QWidget::eventFilter(watched, event);
}

// ---- load and save of the options

void Options::Form_Load()
{
    m_loading = true;
    for (QComboBox* combo : Combo1) (new cFlatControl(this))->Attach(combo);
    SetFlatBorder(wndOptions, true);
    GetDFUE();
    LoadDialerProtection();
    // the list loader has cleared the flag
    m_loading = true;
    Combo1[0]->setCurrentIndex(0);
    LoadOptions();
    if (Form1::exists() && Form1::instance()->cannotQuit()) Check2[2]->setEnabled(false);
    m_loading = false;
}

void Options::LoadOptions()
{
    m_loading = true;
    const StoredOptions stored = ReadProgramOptions();
    if (stored.exists) {
        const std::optional<int> currency = stored.lines[0];
        if (currency && *currency >= 0 && *currency < Combo1[0]->count()) Combo1[0]->setCurrentIndex(*currency);
        QCheckBox* const boxes[5] = {Check1, Check2[0], Check2[1], Check2[2], Check2[3]};
        for (int i = 0; i < 5; ++i) {
            // the handlers of the boxes before may have cleared it
            m_loading = true;
            const std::optional<int> v = stored.lines[i + 1];
            if (v && (*v == 0 || *v == 1)) boxes[i]->setChecked(*v == 1);
        }
    }
    m_loading = true;
    if (Combo1[1]->currentIndex() < 0 && Combo1[1]->count() > 0) Combo1[1]->setCurrentIndex(0);
    m_loading = false;
}

void Options::SaveOptions()
{
    if (m_loading) return;
    if (WriteProgramOptions({Combo1[0]->currentIndex(), value(Check1), value(Check2[0]), value(Check2[1]),
                             value(Check2[2]), value(Check2[3])}))
        return;
    // the switches are in force already; only their storing failed
    waitFor([] { MsgBox(OPTIONS_WRITE_FAILED_MESSAGE, vbOKOnly + vbExclamation); });
}

void Options::Combo1_Click(int index)
{
    if (index == 0) {
        SetCurrency(Combo1[0]->currentIndex());
        Label2->setText("0,00 " + G_Currency);
    }
    SaveOptions();
    if (index == 1) LoadPrerunPrograms();
}

void Options::Check1_Click()
{
    Combo1[1]->setEnabled(!Check1->isChecked());
    G_SameProgramsForAll = Check1->isChecked();
    SaveOptions();
    LoadPrerunPrograms();
}

void Options::Check2_Click(int index)
{
    G_TrayWhenMinimized = Check2[0]->isChecked();
    G_DialerProtection = Check2[3]->isChecked();
    List2->setEnabled(Check2[3]->isChecked());
    if (index == 2) {
        const QPointer<Options> self(this);
        SetAutostart(Check2[2]->isChecked());
        if (!self || objectName() != QLatin1String("Options")) return;
    }
    SaveOptions();
}

void Options::SetAutostart(bool on)
{
    SessionAutostart& autostart = TheSessionAutostart();
    const bool done =
        on ? autostart.enable(QCoreApplication::applicationFilePath(), ChosenProgramFolder()) : autostart.disable();
    if (!done) waitFor([] { MsgBox(AUTOSTART_FAILED_MESSAGE, vbOKOnly + vbExclamation); });
}

// ---- dialer protection

void Options::GetDFUE()
{
    QList<RasEntryInfo> entries;
    EnumRasEntries(entries, QString());
    const QSignalBlocker comboBlocker(Combo1[1]);
    const QSignalBlocker listBlocker(List2);
    Combo1[1]->clear();
    List2->clear();
    for (const RasEntryInfo& e : entries) {
        Combo1[1]->addItem(e.szEntryName);
        List2->addItem(checkableItem(e.szEntryName, false));
    }
    Combo1[1]->setCurrentIndex(-1);
}

void Options::LoadDialerProtection()
{
    m_loading = true;
    for (int i = 0; i < List2->count(); ++i) List2->item(i)->setCheckState(Qt::Unchecked);
    for (const ListPair& pair : ReadListPairs(AllowListPath()))
        for (int i = 0; i < List2->count(); ++i)
            if (List2->item(i)->text() == pair.text)
                List2->item(i)->setCheckState(pair.ticked ? Qt::Checked : Qt::Unchecked);
    m_loading = false;
}

void Options::SaveDialerProtection()
{
    if (m_loading) return;
    const QList<ListPair> pairs = pairsOf(List2);
    if (WriteListPairs(AllowListPath(), pairs)) return;
    const QString text = ListPairsStorable(pairs) ? OPTIONS_WRITE_FAILED_MESSAGE : UNSTORABLE_INPUT_MESSAGE;
    if (waitFor([&] { MsgBox(text, vbOKOnly + vbExclamation); })) LoadDialerProtection();
}

void Options::List2_ItemCheck(int) { SaveDialerProtection(); }

void Options::Label3_Click() { waitFor([] { MsgBox(DIALER_HELP, vbOKOnly + vbInformation); }); }

// ---- programs started on connect

void Options::LoadPrerunPrograms()
{
    {
        const QSignalBlocker blocker(List1);
        List1->clear();
    }
    const QString entry = Check1->isChecked() ? QString() : Combo1[1]->currentText();
    if (!Check1->isChecked() && entry.isEmpty()) return;
    m_loading = true;
    for (const ListPair& pair : ReadListPairs(ProgramListPath(entry))) addProgram(pair.text, pair.ticked);
    m_loading = false;
}

void Options::SavePrerunPrograms()
{
    if (m_loading) return;
    const QString entry = Check1->isChecked() ? QString() : Combo1[1]->currentText();
    if (!Check1->isChecked() && entry.isEmpty()) return;
    const QList<ListPair> pairs = pairsOf(List1);
    if (WriteListPairs(ProgramListPath(entry), pairs)) return;
    const QString text = ListPairsStorable(pairs) ? OPTIONS_WRITE_FAILED_MESSAGE : UNSTORABLE_INPUT_MESSAGE;
    if (waitFor([&] { MsgBox(text, vbOKOnly + vbExclamation); })) LoadPrerunPrograms();
}

void Options::addProgram(const QString& commandLine, bool ticked) { List1->addItem(checkableItem(commandLine, ticked)); }

void Options::Command1_Click()
{
    // Programs here rarely end in .exe or .bat: every file is offered first.
    G_OFN.filter = QStringList{"Programmdateien (*.exe)", "*.exe", "Batch Dateien (*.bat)", "*.bat", "Alle Dateien", "*"};
    G_OFN.filterIndex = 2;
    G_OFN.title = QStringLiteral("Programm suchen...");
    G_OFN.initialDir = QDir::homePath();
    OpenFileResult chosen;
    if (!waitFor([&] { chosen = ShowOpenFileDialog(this, true); }) || chosen.cancelled) return;
    const QString folder = chosen.folder.endsWith('/') ? chosen.folder : chosen.folder + '/';
    m_loading = true;
    for (const QString& name : chosen.files) addProgram(folder + name, true);
    m_loading = false;
    SavePrerunPrograms();
}

void Options::Command2_Click()
{
    // the current row is only where the focus was: without a selected program nothing is removed
    const QList<QListWidgetItem*> chosen = List1->selectedItems();
    if (chosen.isEmpty()) return;
    delete List1->takeItem(List1->row(chosen.first()));
    List1->clearSelection(); // a second click must not take the next program
    SavePrerunPrograms();
}

void Options::List1_ItemCheck(int) { SavePrerunPrograms(); }

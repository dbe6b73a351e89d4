#include "users/ui/DialUp.h"

#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/TariffPrices.h"
#include "core/ui/FlatControl.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"

#include "tariffs/TarifFile.h"
#include "users/DialUpFiles.h"
#include <QStackedWidget>

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

void selectText(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    if (index >= 0) list->setCurrentIndex(index);
}
} // namespace

QWidget* CreateDialUpPage(Form1& mainWindow)
{
    auto* page = new DialUp(mainWindow.pages);
    page->Form_Load();
    return page;
}

DialUp::DialUp(QWidget* parent) : QWidget(parent)
{
    setObjectName("DialUp");
    setWindowTitle("DFÜ Einstellungen");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void DialUp::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndDFUE = new QFrame(this);
    wndDFUE->setObjectName("wndDFÜ");
    outer->addWidget(wndDFUE);

    auto label = [this](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), wndDFUE);
        WrapLabel(l);
        return l;
    };
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(wndDFUE);
        c->setObjectName(QString::fromUtf8(name));
        return c;
    };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(wndDFUE);
        e->setObjectName(QString::fromUtf8(name));
        return e;
    };
    auto link = [this](const char* text, const char* name) {
        auto* l = new QLabel(QString::fromUtf8(text), wndDFUE);
        l->setObjectName(QString::fromUtf8(name));
        SetLinkLook(l, true);
        l->installEventFilter(this);
        return l;
    };

    comDFUE = combo("comDFÜ");
    lblLink[0] = link(">>> Neuen Eintrag erstellen", "lblLink_0");
    lblLink[1] = link(">>> Eintrag modifizieren", "lblLink_1");
    Option1 = new QRadioButton("Einwahldaten vom DFÜ Netzwerk beziehen", wndDFUE);
    Option2 = new QRadioButton("Einwahldaten selbst verwalten", wndDFUE);
    Option2->setChecked(true);
    lblHilfe[0] = link(">>> Hinweise", "lblHilfe_0");
    txtEinwahlnummer = edit("txtEinwahlnummer");
    txtBenutzername = edit("txtBenutzername");
    txtPasswort = edit("txtPasswort");
    txtPasswort->setEchoMode(QLineEdit::Password);
    comAnbieter = combo("comAnbieter");
    comTarif = combo("comTarif");
    lblKosten = new QLabel("0.00 €", wndDFUE);
    lblKosten->setObjectName("lblKosten");

    auto* grid = new QGridLayout(wndDFUE);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setVerticalSpacing(5);
    int r = 0;
    grid->addWidget(label("Hier werden Einstellungen zum Windows DFÜ Netzwerk festgelegt. Jedem Eintrag sollte ein "
                          "entsprechender Tarif zugeordnet sein, so daß Zumbrel automatisch den richtigen Tarif "
                          "wählt, wenn es eine DFÜ Verbindung erkennt."),
                    r++, 0, 1, 3);
    grid->setRowMinimumHeight(r++, 6);
    grid->addWidget(label("Eintrag:"), r, 0);
    grid->addWidget(comDFUE, r++, 1);
    grid->addWidget(lblLink[0], r++, 1);
    grid->addWidget(lblLink[1], r++, 1);
    grid->setRowMinimumHeight(r++, 6);
    grid->addWidget(Option1, r++, 0, 1, 3);
    grid->addWidget(Option2, r, 0, 1, 2);
    grid->addWidget(lblHilfe[0], r++, 2);
    grid->addWidget(label("Einwahlnummer:"), r, 0);
    grid->addWidget(txtEinwahlnummer, r++, 1);
    grid->addWidget(label("Benutzername:"), r, 0);
    grid->addWidget(txtBenutzername, r++, 1);
    grid->addWidget(label("Passwort:"), r, 0);
    grid->addWidget(txtPasswort, r++, 1);
    grid->setRowMinimumHeight(r++, 6);
    auto* heading = label("Tarifzuordnung:");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, r++, 0, 1, 3);
    grid->addWidget(label("Anbieter:"), r, 0);
    grid->addWidget(comAnbieter, r++, 1);
    grid->addWidget(label("Tarif:"), r, 0);
    grid->addWidget(comTarif, r++, 1);
    grid->addWidget(label("Aktuelle Kosten:"), r, 0);
    grid->addWidget(lblKosten, r++, 1);
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    // Setting a value from code runs its handler as a user's change does.
    connect(comDFUE, &QComboBox::currentIndexChanged, this, [this] { comDFUE_Click(); });
    connect(comAnbieter, &QComboBox::currentIndexChanged, this, [this] { comAnbieter_Click(); });
    connect(comTarif, &QComboBox::currentIndexChanged, this, [this] { comTarif_Click(); });
    // an option button's click comes with its selection only
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option2_Click();
    });
    connect(txtEinwahlnummer, &QLineEdit::textChanged, this, [this] { txtEinwahlnummer_Change(); });
    connect(txtBenutzername, &QLineEdit::textChanged, this, [this] { txtBenutzername_Change(); });
    connect(txtPasswort, &QLineEdit::textChanged, this, [this] { txtPasswort_Change(); });
}

bool DialUp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 2; ++i)
            if (watched == lblLink[i]) lblLink_Click(i);
        if (watched == lblHilfe[0]) lblHilfe_Click(0);
    }
    return QWidget::eventFilter(watched, event);
}

void DialUp::Form_Load()
{
    for (QWidget* w : std::initializer_list<QWidget*>{comDFUE, comAnbieter, comTarif, txtEinwahlnummer, txtBenutzername,
                                                      txtPasswort})
        (new cFlatControl(this))->Attach(w);
    SetFlatBorder(wndDFUE, true);
    GetTarife();
    GetDFUE();
    LoadDialUpConfig();
}

// ---- lists

void DialUp::GetTarife()
{
    FillList(comAnbieter, QStringList{NO_TARIFF_ASSIGNMENT} + ListProviders());
    comAnbieter->setCurrentIndex(0);
}

void DialUp::SetTarif()
{
    FillList(comTarif, QStringList{NO_TARIFF_ASSIGNMENT} + ListTarifItems(comAnbieter->currentText()));
    comTarif->setEnabled(true);
    comTarif->setCurrentIndex(0);
}

void DialUp::GetDFUE()
{
    QList<RasEntryInfo> entries;
    QStringList names;
    if (EnumRasEntries(entries, QString()) != 0)
        for (const RasEntryInfo& e : entries)
            names << e.szEntryName;
    FillList(comDFUE, names);
    if (comDFUE->count() > 0) comDFUE->setCurrentIndex(0);
}

void DialUp::comDFUE_Click()
{
    GetRasDialParams();
    LoadEntry();
    LoadEntryTarif();
}

void DialUp::comTarif_Click()
{
    const QString item = comTarif->currentText();
    if (item.startsWith('A') || item.startsWith('M'))
        lblKosten->setText(CurrentPriceText(TarifFileName(comAnbieter->currentText(), item)));
    SaveEntryTarif();
}

// ---- the entry's data

void DialUp::GetRasDialParams()
{
    const QString entry = comDFUE->currentText();
    if (!Option1->isChecked() || entry.isEmpty()) return;
    RasDialInfo info;
    SavedPassword passwordSaved = SavedPassword::No;
    GetEntryDialParams(info, QString(), entry, passwordSaved);
    txtEinwahlnummer->setText(info.szPhoneNumber);
    txtBenutzername->setText(info.szUserName);
    txtPasswort->setText(info.szPassword);
}

void DialUp::LoadEntry()
{
    if (!Option2->isChecked() || comDFUE->currentText().isEmpty()) return;
    m_loading = true;
    EntryCredentials data;
    ReadEntryCredentials(comDFUE->currentText(), &data);
    txtEinwahlnummer->setText(data.number);
    txtBenutzername->setText(data.user);
    txtPasswort->setText(data.password);
    m_loading = false;
}

void DialUp::SaveEntry()
{
    if (m_loading || !Option2->isChecked() || comDFUE->currentText().isEmpty()) return;
    const EntryCredentials data{txtEinwahlnummer->text(), txtBenutzername->text(), txtPasswort->text()};
    if (SaveEntryCredentials(comDFUE->currentText(), data) == EntrySaved::Saved) return;
    // nothing is written: the boxes show what is stored
    MsgBox(QString::fromUtf8(UNSTORABLE_INPUT_MESSAGE), vbOKOnly + vbExclamation);
    LoadEntry();
}

void DialUp::LoadEntryTarif()
{
    m_loading = true;
    comAnbieter->setCurrentIndex(0);
    comTarif->setCurrentIndex(0);
    QString provider, item;
    if (ReadEntryTarif(comDFUE->currentText(), &provider, &item)) {
        selectText(comAnbieter, provider);
        selectText(comTarif, item);
    }
    m_loading = false;
}

void DialUp::SaveEntryTarif()
{
    if (m_loading || comDFUE->currentText().isEmpty()) return;
    if (::SaveEntryTarif(comDFUE->currentText(), comAnbieter->currentText(), comTarif->currentText())) return;
    MsgBox(QString::fromUtf8(UNSTORABLE_INPUT_MESSAGE), vbOKOnly + vbExclamation);
    LoadEntryTarif();
}

// ---- where a dial takes its data from

void DialUp::Option1_Click()
{
    if (Option1->isChecked()) {
        for (QLineEdit* box : {txtEinwahlnummer, txtBenutzername, txtPasswort})
            box->setEnabled(false);
        GetRasDialParams();
    }
    SaveDialUpConfig();
}

void DialUp::Option2_Click()
{
    if (Option2->isChecked()) {
        for (QLineEdit* box : {txtEinwahlnummer, txtBenutzername, txtPasswort})
            box->setEnabled(true);
        LoadEntry();
    }
    SaveDialUpConfig();
}

void DialUp::SaveDialUpConfig()
{
    ::SaveDialUpConfig(Option1->isChecked());
}

void DialUp::LoadDialUpConfig()
{
    const std::optional<bool> systemData = ReadDialUpConfig();
    if (systemData) (*systemData ? Option1 : Option2)->setChecked(true);
    Option1_Click();
    Option2_Click();
}

// ---- the system's phone-book dialogs

void DialUp::lblLink_Click(int index)
{
    PhoneBook& book = ThePhoneBook();
    const quint32 result = index == 0 ? book.createEntry() : book.editEntry(comDFUE->currentText());
    if (result == RAS_SUCCESS)
        GetDFUE();
    else if (result == ERROR_CALL_NOT_IMPLEMENTED)
        MsgBox(NO_ENTRY_DIALOG_MESSAGE, vbOKOnly + vbInformation);
}

void DialUp::lblHilfe_Click(int)
{
    MsgBox(QStringLiteral("Es wird empfohlen die Einwahldaten vom DFÜ Netzwerk zu beziehen. Wollen Sie jedoch das "
                          "Passwort speichern, obwohl Windows dies nicht zuläßt, dann können Sie die Einwahldaten "
                          "manuell eingeben. Diese Daten werden verschlüsselt gespeichert. Murbek Soft übernimmt "
                          "jedoch keine Verantwortung für eventuelle Schäden durch Passwortdiebstahl, die Speicherung "
                          "der Daten erfolgt also auf eigene Gefahr."),
           vbOKOnly + vbInformation);
}

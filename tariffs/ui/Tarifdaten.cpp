#include "tariffs/ui/Tarifdaten.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "tariffs/TarifFile.h"
#include "tariffs/ui/Tarife.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
const char* const NEW_TEXT =
    "Hier können Sie manuell einen Tarif erstellen. Manuell erstellte Tarife wer- den getrennt behan- delt und "
    "werden auch bei identischem Namen nicht vom Autoupdate über- schrieben.";
const char* const CHANGE_TEXT =
    "Hier können Sie manuell einen Tarif abändern. Manuell erstellte Tarife wer- den getrennt behan- delt und "
    "werden auch bei identischem Namen nicht vom Autoupdate über- schrieben.";
const char* const ZONE_HINT = "Gilt für den ganzen Tag der selbe Tarif, geben Sie von 0 Uhr bis 0 Uhr an. Bei "
                              "Volumenabrechnung ist nur eine ganz- tägige Zone zulässig.";
} // namespace

Tarifdaten::Tarifdaten(Kind kind, QWidget* parent) : QDialog(parent), m_kind(kind)
{
    setObjectName(kind == NewTarif ? "NewTarif" : "ChangeTarif");
    setWindowTitle("Tarifdaten");
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void Tarifdaten::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    auto* heading = new QLabel(m_kind == NewTarif ? "Neuer Tarif" : "Tarif ändern", this);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    heading->setFont(bold);
    auto* intro = new QLabel(QString::fromUtf8(m_kind == NewTarif ? NEW_TEXT : CHANGE_TEXT), this);
    WrapLabel(intro);
    outer->addWidget(heading);
    outer->addWidget(intro);

    const int volumePrice = volumePriceIndex(), volumeUnit = volumeUnitIndex();
    for (int i : {0, 1, 2, 4, 5, 6, 7, 8, 9, volumePrice, volumeUnit}) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
        OnLostFocus(Text1[i], [this, i] { Text1_LostFocus(i); });
    }
    const char* checks[7] = {"Anmeldung nötig", "Bundesweit verfügbar", "Kanalbündelung möglich", "Flatrate",
                             "Abrechnung nach übertragenen Daten (Volumen)", nullptr, "Wochenende"};
    for (int i = 0; i < 7; ++i) {
        if (!checks[i]) continue;
        Check1[i] = new QCheckBox(QString::fromUtf8(checks[i]), this);
        connect(Check1[i], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
    }
    comAnbieter = new QComboBox(this);
    comAnbieter->setObjectName("comAnbieter");
    comAnbieter->setEditable(true);
    comAnbieter->setInsertPolicy(QComboBox::NoInsert);
    KeepListWidth(comAnbieter, 12); // a long provider's name must not widen the window

    auto* data = new QGridLayout;
    auto label = [this](int index, const char* text) {
        Label2[index] = new QLabel(QString::fromUtf8(text), this);
        return Label2[index];
    };
    data->addWidget(label(0, "Anbieter"), 0, 0);
    data->addWidget(comAnbieter, 0, 1);
    data->addWidget(label(1, "Tarif"), 1, 0);
    data->addWidget(Text1[0], 1, 1);
    data->addWidget(label(2, "Grundgebühr"), 2, 0);
    data->addWidget(Text1[1], 2, 1);
    data->addWidget(label(3, "Mindestumsatz"), 3, 0);
    data->addWidget(Text1[2], 3, 1);
    data->addWidget(label(4, "Freiminuten"), 4, 0);
    data->addWidget(Text1[4], 4, 1);
    data->addWidget(label(5, "Takt (1.Min/Rest)"), 5, 0);
    data->addWidget(Text1[5], 5, 1);
    data->addWidget(label(6, "Verbindungsgrundgebühr"), 6, 0);
    data->addWidget(Text1[6], 6, 1);
    auto* boxes = new QVBoxLayout;
    for (int i = 0; i < 5; ++i) boxes->addWidget(Check1[i]);

    Picture1 = new QWidget(this);
    auto* volume = new QHBoxLayout(Picture1);
    volume->setContentsMargins(0, 0, 0, 0);
    volume->addWidget(label(7, "Kosten"));
    volume->addWidget(Text1[volumePrice]);
    volume->addWidget(label(8, " pro"));
    volume->addWidget(Text1[volumeUnit]);
    volume->addWidget(label(9, "Megabyte"));
    Picture1->hide();
    boxes->addWidget(Picture1);
    boxes->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(data, 1);
    top->addLayout(boxes, 1);
    outer->addLayout(top);

    auto* zone = new QHBoxLayout;
    zone->addWidget(label(10, "Von"));
    zone->addWidget(Text1[7]);
    zone->addWidget(label(11, "bis"));
    zone->addWidget(Text1[8]);
    zone->addWidget(label(12, "Uhr, Kosten:"));
    zone->addWidget(Text1[9]);
    zone->addWidget(label(13, ""));
    zone->addWidget(Check1[6]);
    // an hour has two digits; a longer number typed shows whole until the field refuses it
    for (int i : {7, 8})
        Text1[i]->setFixedWidth(TextBoxWidth(Text1[i], QStringLiteral("99999")));
    Text1[9]->setMaximumWidth(70);
    outer->addLayout(zone);

    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    Command2[0] = new QPushButton("Hinzufügen", this);
    Command2[1] = new QPushButton("Löschen", this);
    auto* hint = new QLabel(QString::fromUtf8(ZONE_HINT), this);
    WrapLabel(hint);
    auto* zoneButtons = new QVBoxLayout;
    zoneButtons->addWidget(Command2[0]);
    zoneButtons->addWidget(Command2[1]);
    zoneButtons->addWidget(hint);
    zoneButtons->addStretch();
    auto* zones = new QHBoxLayout;
    zones->addWidget(List1, 2);
    zones->addLayout(zoneButtons, 1);
    outer->addLayout(zones);

    Command1[0] = new QPushButton("&Speichern", this);
    Command1[1] = new QPushButton("A&bbrechen", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    outer->addLayout(buttons);
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setAutoDefault(false);
        Command2[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }

    showFields(TarifFields{});
    if (m_kind == ChangeTarif) Text1[volumeUnit]->clear();
    Text1[7]->setText("0");
    Text1[8]->setText("0");
    Text1[9]->setText("0,019");
    resize(640, 520);
}

void Tarifdaten::Form_Load()
{
    GetTarife();
    Label2[13]->setText(G_Currency + "/Minute");
}

void Tarifdaten::GetTarife()
{
    const QSignalBlocker block(comAnbieter);
    comAnbieter->clear();
    comAnbieter->addItems(ListProviders());
    comAnbieter->setCurrentIndex(-1);
    comAnbieter->setEditText(QString());
}

void Tarifdaten::Text1_LostFocus(int index)
{
    QLineEdit* field = Text1[index];
    if (!field || index == 0) return;
    TarifInput input = TarifInput::Fee;
    if (index == 4)
        input = TarifInput::FreeAllowance;
    else if (index == 5)
        input = TarifInput::Takt;
    else if (index == 7 || index == 8)
        input = TarifInput::ZoneHour;
    else if (index == 9 || index == volumePriceIndex())
        input = TarifInput::Price;
    else if (index == volumeUnitIndex())
        input = TarifInput::VolumeUnit;
    CheckedInput left = LeaveTarifField(input, field->text());
    // a changed tariff's volume price keeps its text; only its range is checked
    if (index == volumePriceIndex() && m_kind == ChangeTarif) left.text = field->text();
    TakeCheckedInput(field, left);
}

void Tarifdaten::Check1_Click(int index)
{
    if (index != 4) return;
    const bool volume = Check1[4]->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Text1[5], Text1[7], Text1[8], Text1[9], List1, Command2[0],
                                                      Command2[1], Check1[6]})
        w->setEnabled(!volume);
    Picture1->setVisible(volume);
    Label2[4]->setText(volume ? "Freitransfer" : "Freiminuten");
    Label2[5]->setText(volume ? "Megabyte" : "Takt (1.Min/Rest)");
}

void Tarifdaten::Command2_Click(int index)
{
    if (!FlushLostFocus(this)) return; // a button's mnemonic takes no focus, so the field being edited was not left
    if (index == 1) {
        QListWidgetItem* item = List1->currentItem();
        if (!item || !item->isSelected()) {
            MsgBox(NO_ZONE_SELECTED_MESSAGE, vbInformation);
            return;
        }
        delete item;
        // the list moves its choice to the next zone; a second click must not take one never chosen
        List1->clearSelection();
        List1->setCurrentItem(nullptr);
        return;
    }
    const QString entry = ZoneEntry(Text1[7]->text(), Text1[8]->text(), Text1[9]->text(), Check1[6]->isChecked());
    if (entry.isEmpty()) {
        MsgBox(ZONE_FIELDS_MESSAGE, vbInformation);
        return;
    }
    if (Check1[4]->isChecked()) return;
    List1->addItem(entry);
}

TarifFields Tarifdaten::fields() const
{
    TarifFields f = m_kind == ChangeTarif ? m_kept : TarifFields{};
    f.provider = comAnbieter->currentText();
    f.tariff = Text1[0]->text();
    f.baseFee = Text1[1]->text();
    f.minimumTurnover = Text1[2]->text();
    f.freeAllowance = Text1[4]->text();
    f.takt = Text1[5]->text();
    f.callBaseFee = Text1[6]->text();
    f.volumePrice = Text1[volumePriceIndex()]->text();
    f.volumeUnit = Text1[volumeUnitIndex()]->text();
    f.registration = Check1[0]->isChecked();
    f.nationwide = Check1[1]->isChecked();
    f.channelBundling = Check1[2]->isChecked();
    f.flatrate = Check1[3]->isChecked();
    f.volumeBilling = Check1[4]->isChecked();
    f.zones.clear();
    for (int i = 0; i < List1->count(); ++i) f.zones << List1->item(i)->text();
    return f;
}

// Everything but the names, which are the caller's.
void Tarifdaten::showFields(const TarifFields& f)
{
    Text1[1]->setText(f.baseFee);
    Text1[2]->setText(f.minimumTurnover);
    Text1[4]->setText(f.freeAllowance);
    Text1[5]->setText(f.takt);
    Text1[6]->setText(f.callBaseFee);
    Text1[volumePriceIndex()]->setText(f.volumePrice);
    Text1[volumeUnitIndex()]->setText(f.volumeUnit);
    Check1[0]->setChecked(f.registration);
    Check1[1]->setChecked(f.nationwide);
    Check1[2]->setChecked(f.channelBundling);
    Check1[3]->setChecked(f.flatrate);
    Check1[4]->setChecked(f.volumeBilling);
    List1->clear();
    List1->addItems(f.zones);
}

bool Tarifdaten::LoadTarif()
{
    TarifFile tarif;
    if (Tag.size() < 5 || !ReadTarifFile(Tag, &tarif)) {
        Command1_Click(1);
        return false;
    }
    m_kept = FieldsFromTarif(tarif);
    showFields(m_kept);
    return true;
}

void Tarifdaten::Command1_Click(int index)
{
    if (index == 1) {
        finish();
        return;
    }
    if (!FlushLostFocus(this)) return; // a button's mnemonic takes no focus, so the field being edited was not left
    TarifFields f = fields();
    // a template taken from a downloaded tariff replaces nothing but a hand-made file of its own name
    const QString old = m_kind == ChangeTarif && comAnbieterTag != QLatin1String("1") ? Tag : QString();
    const TarifSaveResult result = SaveTarif(&f, old);
    if (result != TarifSaveResult::Names) showFields(f);
    switch (result) {
    case TarifSaveResult::Names: MsgBox(NAMES_MESSAGE, vbExclamation); return;
    case TarifSaveResult::Weekend: MsgBox(WEEKEND_MESSAGE, vbExclamation); return;
    case TarifSaveResult::WriteFailed: MsgBox(WRITE_FAILED_MESSAGE, vbExclamation); return;
    case TarifSaveResult::Saved: break;
    }
    finish();
}

void Tarifdaten::finish()
{
    if (Tarife* page = Tarife::open()) page->GetTarife();
    close();
}

#include "records/ui/NewConnection.h"

#include "core/Clock.h"
#include "core/Dialing.h"
#include "core/Dialogs.h"
#include "core/RecordFiles.h"
#include "core/TimeRoutines.h"
#include "core/VB.h"
#include "core/ui/LostFocus.h"
#include "core/ui/WindowUtils.h"
#include "recording/ConnectionRecord.h"
#include "tariffs/TarifFile.h"
#include "users/UserRecord.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const char* const NEW_HELP =
    "Hier können Sie eine getätigte Verbindung manuell nachtragen. Geben Sie zuerst Datum, Startzeit und Dauer ein, "
    "dann geben Sie den Tarif an. Zumbrel wird dann versuchen automatisch die theoretisch angefallenen Kosten zu "
    "berechnen. Sollte dies nicht gelingen, korrigieren Sie bitte diese Angaben.";
const char* const CHANGE_HELP =
    "Hier können Sie eine getätigte Verbindung bearbeiten. Wählen Sie einen anderen Tarif aus, wird Zumbrel die "
    "entsprechenden Kosten selbständig berechnen. Sie können Sie natürlich auch selbst eingeben.";
const int COMMENT_LIMIT = 255; // characters as stored, a line break counting two

// Shows a stored text in an editable list quietly; the item it names, if any, counts as chosen, so that
// picking another item is a change.
void showText(QComboBox* list, const QString& text)
{
    const QSignalBlocker block(list);
    list->setCurrentIndex(list->findText(text, Qt::MatchExactly));
    list->setEditText(text);
}
} // namespace

NewConnection::NewConnection(QWidget* parent) : NewConnection(false, parent) {}

NewConnection::NewConnection(bool editing, QWidget* parent) : QDialog(parent)
{
    setObjectName(editing ? "ChangeConnection" : "NewConnection");
    setWindowTitle("Verbindungsdaten");
    buildControls(editing);
}

void NewConnection::buildControls(bool editing)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->addWidget(DialogHeader(this, editing ? "Verbindung ändern" : "Neue Verbindung",
                                  QString::fromUtf8(editing ? CHANGE_HELP : NEW_HELP), &lblTitel, &lblHilfe));

    const char* labels[13] = {"Datum",      "Startzeit",        "Dauer",           "Kosten",       "Einheiten",
                              "Empfangene Bytes", "Gesendete Bytes", "Bytes gesamt", "Kommentar", "Anbieter",
                              "Tarif",      "DFÜ",              "Benutzer"};
    for (int i = 0; i < 13; ++i) Label1[i] = new QLabel(QString::fromUtf8(labels[i]), this);
    KeepRoomForUmlauts(Label1[11]);

    const char* initial[8] = {"01.01.2001", "00:00:00", "00:00:00", "0.00 €", "0", "0", "0", "0"};
    for (int i = 0; i < 8; ++i) {
        Text1[i] = new QLineEdit(QString::fromUtf8(initial[i]), this);
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
        Text1[i]->installEventFilter(this);
        OnLostFocus(Text1[i], [this, i] { Text1_LostFocus(i); });
    }
    Text1[0]->setMaxLength(10);
    Text1[1]->setMaxLength(8);
    Text1_8 = new QPlainTextEdit(this);
    Text1_8->setObjectName("Text1_8");
    Text1_8->setTabChangesFocus(true);
    Text1_8->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1_8->setFixedHeight(4 * Text1_8->fontMetrics().lineSpacing() + 10);
    connect(Text1_8, &QPlainTextEdit::textChanged, this, [this] { limitComment(); });

    QComboBox** combos[4] = {&comAnbieter, &comTarif, &comDFUE, &comUser};
    const char* names[4] = {"comAnbieter", "comTarif", "comDFUE", "comUser"};
    for (int i = 0; i < 4; ++i) {
        auto* c = new QComboBox(this);
        c->setObjectName(names[i]);
        if (editing) {
            c->setEditable(true);
            c->setInsertPolicy(QComboBox::NoInsert); // a typed text is shown and kept, never added
        }
        KeepListWidth(c, 12); // long names must not widen the dialog
        *combos[i] = c;
    }
    KeepListWidth(comDFUE, NO_DIAL_ENTRY);
    connect(comAnbieter, &QComboBox::currentIndexChanged, this, [this](int i) { if (i >= 0) comAnbieter_Click(); });
    connect(comTarif, &QComboBox::currentIndexChanged, this, [this](int i) { if (i >= 0) comTarif_Click(); });

    auto* grid = new QGridLayout;
    grid->setContentsMargins(10, 6, 10, 0);
    grid->setHorizontalSpacing(8);
    grid->setColumnMinimumWidth(2, 16);
    auto row = [&](int r, int col, QLabel* label, QWidget* field) {
        grid->addWidget(label, r, col);
        grid->addWidget(field, r, col + 1);
    };
    row(0, 0, Label1[0], Text1[0]);
    row(1, 0, Label1[1], Text1[1]);
    row(2, 0, Label1[2], Text1[2]);
    row(3, 0, Label1[9], comAnbieter);
    row(4, 0, Label1[10], comTarif);
    row(5, 0, Label1[3], Text1[3]);
    row(0, 3, Label1[4], Text1[4]);
    row(1, 3, Label1[5], Text1[5]);
    row(2, 3, Label1[6], Text1[6]);
    row(3, 3, Label1[7], Text1[7]);
    row(4, 3, Label1[11], comDFUE);
    row(5, 3, Label1[12], comUser);
    grid->addWidget(Label1[8], 6, 0, Qt::AlignTop);
    grid->addWidget(Text1_8, 6, 1, 1, 4);
    outer->addLayout(grid);

    Command1[0] = new QPushButton("&Speichern", this);
    Command1[1] = new QPushButton("A&bbrechen", this);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 4, 10, 0);
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setAutoDefault(false); // neither button is the default: Return clicks nothing
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    outer->addLayout(buttons);

    const QList<QWidget*> order{Text1[0], Text1[1], Text1[2], comAnbieter, comTarif, Text1[3],   Text1[4],  Text1[5],
                                Text1[6], Text1[7], comDFUE,  comUser,     Text1_8,  Command1[0], Command1[1]};
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    setFixedWidth(qMax(560, minimumSizeHint().width())); // the design's width, or what this font needs
}

bool NewConnection::Form_Load()
{
    GetUsers();
    GetTarife();
    GetDFUE();
    Text1[0]->setText(ShortDate(Today()));
    return true;
}

void NewConnection::GetUsers()
{
    const QSignalBlocker block(comUser);
    comUser->clear();
    comUser->addItems(GetUserNames());
    comUser->setCurrentIndex(selectsFirstItems() && comUser->count() > 0 ? 0 : -1);
}

void NewConnection::GetTarife()
{
    {
        const QSignalBlocker block(comAnbieter);
        comAnbieter->clear();
        comAnbieter->addItems(ListProviders());
        comAnbieter->setCurrentIndex(-1);
    }
    if (comAnbieter->count() > 0) comAnbieter->setCurrentIndex(0);
}

void NewConnection::SetTarif()
{
    {
        const QSignalBlocker block(comTarif);
        comTarif->clear();
        comTarif->addItems(ListTarifItems(comAnbieter->currentText()));
        comTarif->setCurrentIndex(-1);
    }
    comTarif->setEnabled(true);
    if (comTarif->count() > 0 && (selectsFirstItems() || isVisible())) comTarif->setCurrentIndex(0);
}

void NewConnection::GetDFUE()
{
    const QSignalBlocker block(comDFUE);
    comDFUE->clear();
    comDFUE->addItem(NO_DIAL_ENTRY);
    QList<RasEntryInfo> entries;
    const int count = EnumRasEntries(entries, QString());
    for (const RasEntryInfo& e : entries) comDFUE->addItem(e.szEntryName);
    comDFUE->setCurrentIndex(selectsFirstItems() && count > 0 ? 0 : -1);
}

void NewConnection::comAnbieter_Click() { SetTarif(); }

void NewConnection::comTarif_Click() { recomputeCost(); }

void NewConnection::recomputeCost()
{
    // a duration beyond its range (from a damaged record) would keep the walk busy for minutes
    if (TypedDuration(Text1[2]->text()).refused()) return;
    QString units = Text1[4]->text();
    const float cost = m_cost.CalculateCost(comAnbieter->currentText(), comTarif->currentText(), Text1[0]->text(),
                                            Text1[1]->text(), HandEntryCost::DurationToSeconds(Text1[2]->text()), &units);
    Text1[3]->setText(FormatSingle(cost / 100.0f, QStringLiteral("0.00")));
    Text1[4]->setText(units);
}

void NewConnection::Text1_GotFocus(int index)
{
    // after the mouse press has placed the caret, so the selection stays
    if (index <= 2) QTimer::singleShot(0, Text1[index], &QLineEdit::selectAll);
}

void NewConnection::Text1_LostFocus(int index)
{
    QLineEdit* field = Text1[index];
    CheckedInput left = LeaveHandField(index, field->text());
    const bool bytes = index == 5 || index == 6;
    QLineEdit* partner = bytes ? Text1[index == 5 ? 6 : 5] : nullptr;
    CheckedInput total;
    if (bytes && !left.refused()) {
        total = HandByteTotal(left.text, partner->text());
        left.refusal = total.refusal;
    }
    // a refused duration never reaches the cost calculation
    if (!TakeCheckedInput(field, left)) return;
    if (index <= 2 && recomputesOnLeave()) recomputeCost();
    if (bytes) {
        partner->setText(LeaveHandField(index == 5 ? 6 : 5, partner->text()).text);
        Text1[7]->setText(total.text);
    }
}

HandEntryFields NewConnection::fields() const
{
    HandEntryFields f;
    f.date = Text1[0]->text();
    f.start = Text1[1]->text();
    f.duration = Text1[2]->text();
    f.cost = Text1[3]->text();
    f.units = Text1[4]->text();
    f.bytesIn = Text1[5]->text();
    f.bytesOut = Text1[6]->text();
    f.bytesTotal = Text1[7]->text();
    f.connection = comDFUE->currentText();
    f.provider = comAnbieter->currentText();
    f.tarifItem = comTarif->currentText();
    f.user = comUser->currentText();
    f.comment = Text1_8->toPlainText();
    return f;
}

void NewConnection::Command1_Click(int index)
{
    if (index == 1) {
        close();
        return;
    }
    if (!FlushLostFocus(this)) return; // a mnemonic takes no focus: the field being edited has not been left yet
    const HandEntryFields f = fields();
    const QString refusal = HandEntryRefusal(f);
    if (!refusal.isEmpty()) {
        MsgBox(refusal, vbExclamation);
        return;
    }
    if (comDFUE->currentText().isEmpty()) {
        if (comDFUE->isEditable())
            comDFUE->setEditText(NO_DIAL_ENTRY);
        else
            comDFUE->setCurrentIndex(0);
    }
    const QString failure = SaveHandEntry(fields(), oldRecordName());
    if (!failure.isEmpty()) {
        MsgBox(failure, vbExclamation);
        return;
    }
    RefreshConnectionList();
    close();
}

void NewConnection::limitComment()
{
    const QString text = Text1_8->toPlainText();
    if (text.size() + text.count('\n') <= COMMENT_LIMIT) {
        m_comment = text;
        return;
    }
    const QSignalBlocker block(Text1_8);
    Text1_8->setPlainText(m_comment);
    Text1_8->moveCursor(QTextCursor::End);
}

bool NewConnection::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        for (int i = 0; i < 8; ++i)
            if (watched == Text1[i]) Text1_GotFocus(i);
    return QDialog::eventFilter(watched, event);
}

void NewConnection::keyPressEvent(QKeyEvent* event)
{
    // no default and no cancel button: Return and Escape click nothing (the title bar's close cancels)
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return;
    default: QDialog::keyPressEvent(event);
    }
}

ChangeConnection::ChangeConnection(const QString& recordName, QWidget* parent)
    : NewConnection(true, parent), Tag(recordName)
{
}

bool ChangeConnection::Form_Load()
{
    if (Tag.isEmpty()) {
        close();
        return false;
    }
    GetUsers();
    GetTarife();
    GetDFUE();
    RecordLines record;
    ReadRecord(Tag, record); // a missing or short record leaves its fields empty
    for (int i : {0, 1, 2, 5, 6, 7}) Text1[i]->setText(record.line(i + 1));
    Text1[0]->setText(record.line(1).mid(1));
    showText(comDFUE, record.line(9));
    QString provider, item;
    SplitTariffFile(record.line(10), &provider, &item);
    showText(comAnbieter, provider);
    SetTarif();
    showText(comTarif, item);
    showText(comUser, record.line(11));
    QString comment = record.line(12);
    Text1_8->setPlainText(comment.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    // last, so the stored cost stands whatever the tariff would give
    Text1[3]->setText(record.line(4).mid(1));
    Text1[4]->setText(record.line(5));
    return true;
}

void ChangeConnection::comTarif_Click()
{
    comTarifTag = QStringLiteral("1");
    NewConnection::comTarif_Click();
}

bool ChangeConnection::recomputesOnLeave() const { return Val(comTarifTag) == 1; }

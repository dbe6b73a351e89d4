#include "tariffs/ui/Tarife.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/ProgramFolder.h"
#include "core/ui/ElidedLabel.h"
#include "core/ui/FlatControl.h"
#include "core/ui/ShutOut.h"
#include "core/ui/WindowUtils.h"
#include "recording/ui/Form1.h"
#include "tariffs/ui/Autoupdate.h"
#include "tariffs/ui/Tarifdaten.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The icons of the original's image list: 2 provider open, 3 provider closed, 4 hand-made, 5 downloaded.
constexpr int ICON_ROLE = Qt::UserRole;
constexpr int PROVIDER_ROLE = Qt::UserRole + 1;

QIcon rowIcon(int icon)
{
    QStyle* style = QApplication::style();
    switch (icon) {
    case 2: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case 3: return style->standardIcon(QStyle::SP_DirClosedIcon);
    case 4: return style->standardIcon(QStyle::SP_FileIcon);
    default: return style->standardIcon(QStyle::SP_DriveNetIcon);
    }
}

void setRowIcon(QTreeWidgetItem* row, int icon)
{
    row->setData(0, ICON_ROLE, icon);
    row->setIcon(0, rowIcon(icon));
}

int iconOf(const QTreeWidgetItem* row) { return row ? row->data(0, ICON_ROLE).toInt() : 0; }

const QString DELETE_QUESTION = QStringLiteral(
    "Wollen Sie den ausgewählten Tarif wirklich löschen. Automatisch hinzugefügte Tarife werden beim nächtsten "
    "Tarifupdate eventuell erneut hinzugefügt.");
const QString TEMPLATE_QUESTION = QStringLiteral(
    "Automatisch erstellte Tarife können nicht geändert werden, da Sie beim Update automatisch überschrieben "
    "werden. Sie können diesen Tarif jedoch als Vorlage verwenden, wollen Sie das tun?");

QPointer<Tarife> s_open;
} // namespace

QWidget* CreateTarifePage(Form1& mainWindow)
{
    auto* page = new Tarife(mainWindow.pages);
    page->Form_Load();
    return page;
}

Tarife* Tarife::open() { return s_open && IsFormLoaded("Tarife") ? s_open.data() : nullptr; }

Tarife::Tarife(QWidget* parent) : QWidget(parent)
{
    setObjectName("Tarife");
    setWindowTitle("Tarifliste");
    s_open = this;
    flatAutoupdate = new cFlatControl(this);
    buildControls();
}

Tarife::~Tarife() = default;

void Tarife::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndTarife = new QFrame(this);
    wndTarife->setObjectName("wndTarife");
    outer->addWidget(wndTarife);
    auto* grid = new QGridLayout(wndTarife);

    auto* title = new QLabel("Tarifliste", wndTarife);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 2);

    lstTarife = new QTreeWidget(wndTarife);
    lstTarife->setObjectName("lstTarife");
    lstTarife->setColumnCount(1);
    lstTarife->setHeaderHidden(true);
    lstTarife->setExpandsOnDoubleClick(false);
    lstTarife->setTextElideMode(Qt::ElideRight);
    lstTarife->setContextMenuPolicy(Qt::CustomContextMenu);
    Picture2 = new QLabel("Ermittle Tarife...", lstTarife);
    Picture2->setAlignment(Qt::AlignCenter);
    Picture2->setAutoFillBackground(true);
    Picture2->setGeometry(10, 10, 160, 30);
    Picture2->hide();

    auto* left = new QVBoxLayout;
    left->addWidget(lstTarife, 1);
    for (int icon : {4, 5}) {
        auto* legend = new QHBoxLayout;
        auto* picture = new QLabel(wndTarife);
        picture->setPixmap(rowIcon(icon).pixmap(16, 16));
        legend->addWidget(picture);
        legend->addWidget(new QLabel(icon == 4 ? "Manuell hinzugefügt" : "Automatisch hinzugefügt", wndTarife), 1);
        left->addLayout(legend);
    }
    for (int i = 0; i < 13; ++i) {
        // the provider and the tariff shown are names that may be longer than the page is wide
        lblTarif[i] = i == 5 || i == 6 ? new ElidedLabel(wndTarife) : new QLabel(wndTarife);
        lblTarif[i]->setObjectName(QString("lblTarif_%1").arg(i));
        lblTarif[i]->setTextFormat(Qt::PlainText);
    }
    const char* designs[13] = {"0.0000",     "60 / 60", "nicht nötig", "bundesweit", "0 Tarife insgesamt",
                               "Tarif auswählen", "um Details anzuzeigen", "0.000", "0.000", "0.000", "", "nein", ""};
    for (int i = 0; i < 13; ++i) lblTarif[i]->setText(QString::fromUtf8(designs[i]));
    left->addWidget(lblTarif[4]);
    grid->addLayout(left, 1, 0);

    auto* details = new QGridLayout;
    lblTarif[5]->setFont(bold);
    details->addWidget(lblTarif[5], 0, 0, 1, 2);
    details->addWidget(lblTarif[6], 1, 0, 1, 2);
    const struct {
        int caption;
        const char* text;
        int value; // -1 for a heading
    } rows[] = {{25, "Gebühren", -1},         {20, "Kosten/Min (jetzt):", 0}, {18, "Grundgebühr:", 7},
                {19, "Mindestumsatz:", 8},    {26, "Gesprächsgebühr:", 9},    {21, "Taktung:", 1},
                {30, "Freiminuten:", 12},     {27, "Vertragsdaten", -1},      {22, "Anmeldung:", 2},
                {23, "Verfügbarkeit:", 3},    {28, "Kanalbündelung:", 10},    {29, "Flatrate:", 11}};
    int r = 2;
    for (const auto& row : rows) {
        Label1[row.caption] = new QLabel(QString::fromUtf8(row.text), wndTarife);
        if (row.value < 0) {
            Label1[row.caption]->setFont(bold);
            details->addWidget(Label1[row.caption], r++, 0, 1, 2);
        } else {
            details->addWidget(Label1[row.caption], r, 0);
            details->addWidget(lblTarif[row.value], r++, 1);
        }
    }
    details->setRowStretch(r++, 1);

    const char* buttons[3] = {"Tarif erstellen", "Tarif ändern", "Tarif löschen"};
    auto* buttonRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(buttons[i]), wndTarife);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        buttonRow->addWidget(Command1[i]);
    }
    details->addLayout(buttonRow, r++, 0, 1, 2);

    auto* update = new QLabel("Automatisches Update", wndTarife);
    update->setFont(bold);
    auto* updateBox = new QVBoxLayout;
    updateBox->addWidget(update);
    Check3 = new QCheckBox("Automatisch alle", wndTarife);
    comAutoupdate = new QComboBox(wndTarife);
    comAutoupdate->setObjectName("comAutoupdate");
    comAutoupdate->addItems({"7 Tage", "14 Tage", "30 Tage"});
    auto* interval = new QHBoxLayout;
    interval->addWidget(Check3);
    interval->addWidget(comAutoupdate);
    interval->addWidget(new QLabel("auf Tarifupdates prüfen.", wndTarife), 1);
    updateBox->addLayout(interval);
    updateBox->addWidget(lblLink = new QLabel(">>> jetzt prüfen", wndTarife));
    lblLink->setObjectName("lblLink");
    lblLink->setCursor(Qt::UpArrowCursor);
    QFont link = lblLink->font();
    link.setUnderline(true);
    lblLink->setFont(link);
    lblLink->installEventFilter(this);
    ShutOutDuring(lblLink, Wait::Web); // the update window's check or download, the counter page's jobs
    grid->addLayout(details, 1, 1);
    grid->addLayout(updateBox, 2, 0, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);

    treeMenu = new QMenu(this);
    connect(treeMenu->addAction("Alle Zweige öffnen"), &QAction::triggered, this, [this] {
        for (int i = 0; i < lstTarife->topLevelItemCount(); ++i) ExpandTree(lstTarife->topLevelItem(i));
    });
    connect(treeMenu->addAction("Alle Zweige schließen"), &QAction::triggered, this, [this] {
        for (int i = 0; i < lstTarife->topLevelItemCount(); ++i) DeexpandTree(lstTarife->topLevelItem(i));
    });
    connect(lstTarife, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { treeMenu->popup(lstTarife->viewport()->mapToGlobal(at)); });
    connect(lstTarife, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) { lstTarife_DblClick(row); });
    connect(lstTarife, &QTreeWidget::itemSelectionChanged, this,
            [this] { ShowTarif(lstTarife->selectedItems().value(0)); });
    // the expander arrows open and close a provider too: its icon follows
    connect(lstTarife, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* row) { setOpenIcon(row); });
    connect(lstTarife, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* row) { setOpenIcon(row); });
    connect(Check3, &QCheckBox::toggled, this, [this] { Check3_Click(); });
    connect(comAutoupdate, &QComboBox::currentIndexChanged, this, [this] { comAutoupdate_Click(); });
}

bool Tarife::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblLink && event->type() == QEvent::MouseButtonRelease) lblLink_Click();
    return QWidget::eventFilter(watched, event);
}

void Tarife::Form_Load()
{
    flatAutoupdate->Attach(comAutoupdate);
    SetFlatBorder(wndTarife, true);
    m_loading = true;
    {
        const QSignalBlocker block(comAutoupdate);
        comAutoupdate->setCurrentIndex(0);
    }
    const AutoupdateSettings settings = LoadAutoupdateSettings();
    Check3->setChecked(settings.on);
    comAutoupdate->setCurrentIndex(settings.interval);
    comAutoupdate->setEnabled(Check3->isChecked());
    m_loading = false;
    // the page shows first, with its busy overlay; the tree is built once the event loop has painted it
    Picture2->show();
    QTimer::singleShot(0, this, &Tarife::GetTarife);
}

void Tarife::GetTarife()
{
    Picture2->show();
    const TarifTree tree = BuildTarifTree();
    lstTarife->setUpdatesEnabled(false);
    {
        const QSignalBlocker block(lstTarife);
        lstTarife->clear();
    }
    QList<QTreeWidgetItem*> providers;
    for (const TarifTreeProvider& p : tree.providers) {
        auto* row = new QTreeWidgetItem({p.name});
        setRowIcon(row, 3);
        row->setBackground(0, VbColor(0xE0E0E0));
        for (const TarifTreeRow& t : p.tariffs) {
            auto* child = new QTreeWidgetItem(row, {t.tariff});
            setRowIcon(child, t.downloaded ? 5 : 4);
            child->setData(0, PROVIDER_ROLE, p.name);
        }
        providers << row;
    }
    lstTarife->addTopLevelItems(providers);
    lstTarife->setUpdatesEnabled(true);
    Picture2->hide();
    lblTarif[4]->setText(TarifCountText(tree.count));
}

void Tarife::setOpenIcon(QTreeWidgetItem* row)
{
    if (row && (iconOf(row) == 2 || iconOf(row) == 3)) setRowIcon(row, row->isExpanded() ? 2 : 3);
}

void Tarife::ExpandTree(QTreeWidgetItem* row)
{
    if (!row || row->parent()) return;
    row->setExpanded(true);
    setOpenIcon(row);
}

void Tarife::DeexpandTree(QTreeWidgetItem* row)
{
    if (!row || row->parent()) return;
    row->setExpanded(false);
    setOpenIcon(row);
}

void Tarife::Expand(QTreeWidgetItem* row)
{
    if (iconOf(row) == 3)
        ExpandTree(row);
    else if (iconOf(row) == 2)
        DeexpandTree(row);
}

void Tarife::lstTarife_DblClick(QTreeWidgetItem* row) { Expand(row); }

QString Tarife::fileOfRow(const QTreeWidgetItem* row)
{
    const int icon = iconOf(row);
    if (icon < 4) return {};
    return row->data(0, PROVIDER_ROLE).toString() + " - " + row->text(0) + (icon == 5 ? ".atl" : ".tel");
}

void Tarife::ShowTarif(QTreeWidgetItem* row)
{
    const QString file = fileOfRow(row);
    if (file.isEmpty()) return;
    const auto details = ReadTarifDetails(file);
    if (!details) {
        // removed by another program since the tree was built
        QTimer::singleShot(0, this, &Tarife::GetTarife);
        return;
    }
    lblTarif[5]->setText(row->data(0, PROVIDER_ROLE).toString());
    lblTarif[6]->setText(row->text(0));
    if (details->volume) {
        Label1[30]->setText(*details->volume ? "Freitransfer:" : "Freiminuten:");
        Label1[20]->setText(*details->volume ? "Kosten/Tkt (jetzt):" : "Kosten/Min (jetzt):");
    }
    for (int i = 0; i < 13; ++i)
        if (details->lblTarif[i]) lblTarif[i]->setText(*details->lblTarif[i]);
}

void Tarife::showEditor(Tarifdaten* window)
{
    editor = window;
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

void Tarife::Command1_Click(int index)
{
    QTreeWidgetItem* row = lstTarife->selectedItems().value(0);
    const QString file = fileOfRow(row);
    if (index == 0) {
        auto* window = new Tarifdaten(Tarifdaten::NewTarif, this);
        window->Form_Load();
        showEditor(window);
        return;
    }
    if (index == 1) {
        if (file.isEmpty()) return;
        if (FindFileNoCase(ProgramPath("Tarife"), file).isEmpty()) {
            GetTarife();
            return;
        }
        const QString provider = row->data(0, PROVIDER_ROLE).toString();
        const QString tariff = row->text(0);
        auto* window = new Tarifdaten(Tarifdaten::ChangeTarif, this);
        window->Form_Load();
        window->Tag = provider + " - " + tariff + ".tel";
        if (iconOf(row) == 5) {
            if (MsgBox(TEMPLATE_QUESTION, vbYesNo + vbQuestion) != vbYes) {
                window->close();
                return;
            }
            // the downloaded file is read as it is; only a save writes the hand-made one
            window->Tag = file;
            window->comAnbieterTag = "1";
        }
        window->comAnbieter->setEditText(provider);
        window->Text1[0]->setText(tariff);
        if (window->LoadTarif()) showEditor(window);
        return;
    }
    if (!row) {
        MsgBox("Es ist kein Tarif zum löschen ausgewählt.", vbInformation);
        return;
    }
    if (MsgBox(DELETE_QUESTION, vbYesNo + vbQuestion) != vbYes || file.isEmpty()) return;
    const QString found = FindFileNoCase(ProgramPath("Tarife"), file);
    if (found.isEmpty() || !QFile::remove(ProgramPath("Tarife/" + found))) {
        GetTarife();
        return;
    }
    delete row;
}

void Tarife::Check3_Click()
{
    comAutoupdate->setEnabled(Check3->isChecked());
    SaveAutoupdateSettings();
}

void Tarife::comAutoupdate_Click() { SaveAutoupdateSettings(); }

void Tarife::SaveAutoupdateSettings()
{
    if (m_loading) return;
    ::SaveAutoupdateSettings(Check3->isChecked(), comAutoupdate->currentIndex());
}

void Tarife::lblLink_Click()
{
    if (!lblLink->isEnabled()) return;
    Autoupdate* window = Autoupdate::load();
    if (!window->CheckForUpdates()) return; // a check or download is under way already
    if (window->List2->count() == 0) {
        // "nothing new" only when a server said so; a missing Servers.dat has had its message
        if (window->serverReached()) MsgBox("Keine neuen Tarife gefunden.");
        else if (window->serversFound())
            MsgBox("Es konnte keiner der Update-Server erreicht werden.", vbOKOnly + vbExclamation);
        if (Autoupdate* still = Autoupdate::instance()) still->close();
        return;
    }
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

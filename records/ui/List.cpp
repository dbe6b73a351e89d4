#include "records/ui/List.h"

#include "core/Dialogs.h"
#include "core/FileList.h"
#include "core/Globals.h"
#include "core/ProgramFolder.h"
#include "core/RecordFiles.h"
#include "core/SystemUtils.h"
#include "core/ui/FlatControl.h"
#include "core/ui/WindowUtils.h"
#include "records/ListSettings.h"
#include "records/PrintWindow.h"
#include "records/ui/Definiert.h"
#include "records/ui/Difference.h"
#include "records/ui/Export.h"
#include "records/ui/NewConnection.h"
#include "recording/ConnectionRecord.h"
#include "recording/ui/Form1.h"
#include "tariffs/TarifFile.h"
#include "users/UserRecord.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace {
QPointer<List> s_open;

// The open page; gone as soon as the main window unloads it.
List* OpenList() { return s_open && s_open->objectName() == QLatin1String("List") ? s_open.data() : nullptr; }

const char* const CAPTIONS[7] = {"Erstellen",   "Bearbeiten",     "Löschen",    "Drucken",
                                 "Exportieren", "Differenzieren", "Nettokosten"};
const QStyle::StandardPixmap TOOL_ICONS[7] = {
    QStyle::SP_FileIcon,          QStyle::SP_FileDialogContentsView, QStyle::SP_TrashIcon,
    QStyle::SP_FileDialogListView, QStyle::SP_DialogSaveButton,      QStyle::SP_FileDialogInfoView,
    QStyle::SP_DialogApplyButton};
// Columns 1-15 as the export and the print page address them; 14 and 15 are hidden.
const char* const HEADERS[LIST_COLUMNS] = {"",         "Datum",    "Startzeit", "Dauer",    "Kosten",
                                           "Einheiten", "Empfangen", "Gesendet", "Gesamt",  "DFÜ",
                                           "Tarif",     "Benutzer", "Kommentar", "",        ""};
const int WIDTHS[LIST_COLUMNS] = {20, 60, 50, 50, 50, 60, 70, 70, 70, 60, 80, 80, 200, 100, 100};
// A typical value of each column: at first sight dates, times and names are whole in any font. The dial-up
// column holds the hand entry's own "Keine DFÜ Verbindung", the tariff column a provider with its tariff.
const char* const TYPICAL[LIST_COLUMNS] = {"", "00.00.0000", "00:00:00", "000:00:00", "0,000", "", "", "", "",
                                           "Keine DFÜ Verbindung", "Testnetz - Standard", "Netz - Abend", "", "", ""};

// A comment of several lines is shown on one, so that every row keeps one line's height; the cell's
// text, which the export and the print page read, stays as it is.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        QString& text = option->text; // the delegate has made each line feed a line separator
        text.replace(QString(QLatin1Char('\r')) + QChar::LineSeparator, QStringLiteral(" "));
        for (QChar& c : text)
            if (c == QChar::LineSeparator || c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    }
};
const int NET_COLOUR = 192;

// The marking images: a dot from calm to alarming.
QIcon markingIcon(int level)
{
    static const QColor colours[4] = {QColor(0x3c, 0xa0, 0x3c), QColor(0xe6, 0xc8, 0x1e), QColor(0xeb, 0x82, 0x14),
                                      QColor(0xc8, 0x1e, 0x1e)};
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colours[level].darker(140));
    p.setBrush(colours[level]);
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return QIcon(pixmap);
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    KeepRoomForUmlauts(label);
    return label;
}
} // namespace

QWidget* CreateListPage(Form1& mainWindow)
{
    QPointer<List> page = new List(mainWindow.pages);
    page->Form_Load();
    return page.data();
}

List::List(QWidget* parent) : QWidget(parent)
{
    setObjectName("List");
    setWindowTitle("Verbindungsliste");
    s_open = this;
    RegisterForm(this);
    // the counter page reloads the list after it has saved a record, while the list is open: a page the
    // navigation unloaded lives on until its deletion, and is left alone
    SetConnectionListRefresh([] {
        if (List* list = OpenList()) list->GetConnections();
        return true;
    });
    for (int i = 0; i < 4; ++i) ilsIcons[i] = markingIcon(i);
    buildControls();
}

List::~List()
{
    if (!m_widthChangeSaved) SaveListSettings(); // unloaded in the middle of a drag
    if (s_open == this) SetConnectionListRefresh(nullptr);
}

void List::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    wndList = new QFrame(this);
    wndList->setObjectName("wndList");
    outer->addWidget(wndList);
    auto* layout = new QVBoxLayout(wndList);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* toolbar = new QHBoxLayout;
    toolbar->setSpacing(0);
    // the original's small captions: seven of them fit the page's width uncut
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    for (int i = 0; i < 7; ++i) {
        Image1[i] = new QToolButton(wndList);
        Image1[i]->setObjectName(QString("Image1_%1").arg(i));
        Image1[i]->setAutoRaise(true);
        Image1[i]->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        Image1[i]->setIcon(style()->standardIcon(TOOL_ICONS[i]));
        Image1[i]->setIconSize(QSize(20, 20));
        Image1[i]->setText(QString::fromUtf8(CAPTIONS[i]));
        Image1[i]->setFocusPolicy(Qt::NoFocus);
        Image1[i]->setFont(small);
        Image1[i]->setStyleSheet("QToolButton { padding: 1px; }");
        connect(Image1[i], &QToolButton::clicked, this, [this, i] { Image1_Click(i); });
        toolbar->addWidget(Image1[i]);
    }
    toolbar->addStretch(1);
    layout->addLayout(toolbar);

    comZeitraum = new QComboBox(wndList);
    comZeitraum->setObjectName("comZeitraum");
    comListUser = new QComboBox(wndList);
    comListUser->setObjectName("comListUser");
    comAnbieter = new QComboBox(wndList);
    comAnbieter->setObjectName("comAnbieter");
    comTarif = new QComboBox(wndList);
    comTarif->setObjectName("comTarif");
    Label3 = new QToolButton(wndList);
    Label3->setObjectName("Label3");
    Label3->setText("  ...");
    Label3->setAutoRaise(true);
    Label3->setToolTip("Zeitraum definieren");
    chkNetto = new QCheckBox(wndList);
    chkNetto->setObjectName("chkNetto");
    chkNetto->hide();

    auto* filters = new QGridLayout;
    filters->setHorizontalSpacing(4);
    filters->setVerticalSpacing(2);
    filters->addWidget(caption("Zeitraum:", wndList), 0, 0);
    auto* period = new QHBoxLayout;
    period->setSpacing(0);
    period->addWidget(comZeitraum, 1);
    period->addWidget(Label3);
    filters->addLayout(period, 0, 1);
    filters->addWidget(caption("Benutzer:", wndList), 0, 2);
    filters->addWidget(comListUser, 0, 3);
    filters->addWidget(caption("Anbieter:", wndList), 1, 0);
    filters->addWidget(comAnbieter, 1, 1);
    filters->addWidget(caption("Tarif:", wndList), 1, 2);
    filters->addWidget(comTarif, 1, 3);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);
    layout->addLayout(filters);

    lstConnections = new ConnectionGrid(wndList);
    lstConnections->setObjectName("lstConnections");
    // the column widths are the original's pixels, made for its small grid font
    QFont gridFont = font();
    gridFont.setPointSizeF(8);
    lstConnections->setFont(gridFont);
    layout->addWidget(lstConnections, 1);

    auto* totals = new QHBoxLayout;
    totals->addWidget(caption("Gesamtdauer:", wndList));
    lblGesamtDauer = new QLabel("00:00:00", wndList);
    totals->addWidget(lblGesamtDauer);
    totals->addSpacing(16);
    totals->addWidget(caption("Gesamtkosten:", wndList));
    lblGesamtKosten = new QLabel(wndList);
    totals->addWidget(lblGesamtKosten);
    totals->addStretch(1);
    layout->addLayout(totals);

    Picture2 = new QFrame(this);
    Picture2->setObjectName("Picture2");
    Picture2->setFrameShape(QFrame::Box);
    Picture2->setAutoFillBackground(true);
    auto* panel = new QVBoxLayout(Picture2);
    Label4 = new QLabel("Lade Verbindungsdaten...", Picture2);
    panel->addWidget(Label4);
    Picture2->hide();

    connect(comZeitraum, &QComboBox::currentIndexChanged, this, [this] { comZeitraum_Click(); });
    connect(comListUser, &QComboBox::currentIndexChanged, this, [this] { comListUser_Click(); });
    connect(comAnbieter, &QComboBox::currentIndexChanged, this, [this] { comAnbieter_Click(); });
    connect(comTarif, &QComboBox::currentIndexChanged, this, [this] { comTarif_Click(); });
    connect(chkNetto, &QCheckBox::toggled, this, [this] { chkNetto_Click(); });
    connect(Label3, &QToolButton::clicked, this, [this] { Label3_Click(); });
}

void List::Form_Load()
{
    for (QComboBox* box : {comListUser, comZeitraum, comAnbieter, comTarif}) {
        auto* flat = new cFlatControl(this);
        flat->Attach(box);
        m_flat << flat;
    }
    SetFlatBorder(wndList, true);
    m_loading = true;
    GetUsers();
    GenerateList();
    GetTarife();
    FillList(comZeitraum, ListPeriodTexts());
    comZeitraum->setCurrentIndex(0);
    LoadListSettings();
    m_loading = false;
    show();
    GetConnections();
}

void List::GetUsers() { FillWithAlle(comListUser, GetUserNames()); }

void List::GetTarife()
{
    FillWithAlle(comAnbieter, ListProviders());
    comAnbieter_Click();
}

void List::SetTarif()
{
    if (comAnbieter->currentText() == ALL_ITEMS) {
        FillList(comTarif, {});
        comTarif->setEnabled(false);
        if (!m_loading) {
            GetConnections();
            SaveListSettings();
        }
        return;
    }
    comTarif->setEnabled(true);
    FillWithAlle(comTarif, ListTarifItems(comAnbieter->currentText()));
    comTarif_Click();
}

void List::GenerateList()
{
    lstConnections->setColumnCount(LIST_COLUMNS);
    QStringList headers;
    for (const char* header : HEADERS) headers << QString::fromUtf8(header);
    lstConnections->setHeaderLabels(headers);
    lstConnections->setRootIsDecorated(false);
    lstConnections->setUniformRowHeights(true);
    lstConnections->setItemDelegate(new OneLineDelegate(lstConnections));
    lstConnections->setAllColumnsShowFocus(true);
    lstConnections->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstConnections->setSortingEnabled(false); // the page sorts by its own keys
    QHeaderView* header = lstConnections->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setStretchLastSection(false); // a stretched section would count as a width change
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(8); // the icon column is narrower than the style's least width
    for (int c = 0; c < LIST_COLUMNS; ++c) lstConnections->setColumnWidth(c, DefaultColumnWidth(c + 1));
    lstConnections->setColumnHidden(ColFile - 1, true);
    lstConnections->setColumnHidden(ColSortDate - 1, true);
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int logical) { lstConnections_ColumnClick(logical + 1); });
    connect(header, &QHeaderView::sectionResized, this, [this] { lstConnections_ColumnWidthChanged(); });
    connect(header, &QHeaderView::sectionMoved, this, [this] { lstConnections_ColumnOrderChanged(); });
    m_headerViewport = header->viewport();
    m_headerViewport->installEventFilter(this);
}

int List::DefaultColumnWidth(int column) const
{
    // the original's width, widened to its header and to a typical value in this font
    const int index = column - 1;
    int width = qMax(WIDTHS[index], lstConnections->header()->sectionSizeHint(index));
    const QString typical = QString::fromUtf8(TYPICAL[index]);
    if (!typical.isEmpty()) {
        QStyleOptionViewItem option;
        option.initFrom(lstConnections);
        option.font = lstConnections->font();
        option.fontMetrics = QFontMetrics(option.font);
        option.features = QStyleOptionViewItem::HasDisplay;
        option.text = typical;
        const QStyle* style = lstConnections->style();
        width = qMax(width, style->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), lstConnections).width());
    }
    return width;
}

void List::GetConnections()
{
    Picture2->adjustSize();
    Picture2->move((width() - Picture2->width()) / 2, (height() - Picture2->height()) / 2);
    Picture2->show();
    Picture2->raise();
    repaint();

    ConnectionListQuery query;
    query.period = comZeitraum->currentIndex();
    query.user = comListUser->currentText();
    query.provider = comAnbieter->currentText();
    query.tariff = comTarif->isEnabled() ? comTarif->currentText() : ALL_ITEMS;
    query.net = chkNetto->isChecked();
    const ConnectionListResult result = LoadConnectionList(query, m_marking);

    // sorted before the items exist, so that 20,000 items are not taken out and put back again
    std::vector<int> order(result.rows.size());
    std::iota(order.begin(), order.end(), 0);
    SortListRows(order, m_keys, [&result](int row, int column) {
        const ConnectionRow& r = result.rows[size_t(row)];
        return column == ColIcon ? QString::number(r.icon) : r.cell(column);
    });

    lstConnections->setUpdatesEnabled(false);
    lstConnections->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(result.rows.size()));
    for (int index : order) {
        const ConnectionRow& row = result.rows[size_t(index)];
        auto* item = new QTreeWidgetItem;
        for (int c = ColDate; c <= LIST_COLUMNS && c <= row.cells.size(); ++c) item->setText(c - 1, row.cells[c - 1]);
        if (row.icon >= 0 && row.icon < 4) item->setIcon(0, ilsIcons[row.icon]);
        item->setData(0, Qt::UserRole, row.icon);
        items << item;
    }
    lstConnections->addTopLevelItems(items);
    lstConnections->setUpdatesEnabled(true);
    lblGesamtDauer->setText(result.durationText);
    lblGesamtKosten->setText(result.costText);
    Picture2->hide();
}

void List::sortRows()
{
    if (m_keys.isEmpty()) return;
    QList<QTreeWidgetItem*> items = lstConnections->invisibleRootItem()->takeChildren();
    std::vector<int> order(size_t(items.size()));
    std::iota(order.begin(), order.end(), 0);
    SortListRows(order, m_keys, [&items](int row, int column) {
        return column == ColIcon ? QString::number(items[row]->data(0, Qt::UserRole).toInt())
                                 : items[row]->text(column - 1);
    });
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(items.size());
    for (int row : order) sorted << items[row];
    lstConnections->addTopLevelItems(sorted);
}

void List::chkNetto_Click()
{
    markNetMode();
    if (m_loading) return;
    SaveListSettings();
    GetConnections();
}

void List::markNetMode()
{
    const bool on = chkNetto->isChecked();
    QFont font = Image1[6]->font();
    font.setBold(on);
    Image1[6]->setFont(font);
    QPalette palette = Image1[6]->palette();
    palette.setColor(QPalette::ButtonText, VbColor(on ? NET_COLOUR : 0));
    Image1[6]->setPalette(palette);
}

void List::comAnbieter_Click() { SetTarif(); }

void List::comTarif_Click()
{
    if (m_loading) return;
    GetConnections();
    SaveListSettings();
}

void List::comListUser_Click() { comTarif_Click(); }

void List::comZeitraum_Click()
{
    if (m_loading) return;
    if (comZeitraum->currentIndex() == PeriodDefined && !QFileInfo(ProgramPath("Config/Period.cfg")).isFile()) {
        QPointer<List> self(this);
        showDefiniert();
        if (!self) return;
    }
    GetConnections();
    SaveListSettings();
}

void List::Label3_Click()
{
    m_loading = true;
    comZeitraum->setCurrentIndex(PeriodDefined);
    m_loading = false;
    QPointer<List> self(this);
    showDefiniert();
    if (self) GetConnections();
}

void List::lstConnections_ColumnClick(int column)
{
    m_sort = ListColumnClickSort(column);
    m_keys = ListSortKeys(m_sort);
    sortRows();
    SaveListSettings();
}

void List::lstConnections_ColumnWidthChanged()
{
    if (m_loading) return;
    // a drag resizes at every pixel: its width is stored once, when the button is released
    if (m_headerPressed) {
        m_widthChangeSaved = false;
        return;
    }
    SaveListSettings();
}

bool List::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_headerViewport) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: // a double-click on a divider fits the column to its contents
            m_headerPressed = true;
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: // a move without a button: the release went elsewhere (a box that opened)
            if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) break;
            m_headerPressed = false;
            if (!m_widthChangeSaved) SaveListSettings();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void List::lstConnections_ColumnOrderChanged()
{
    if (!m_loading) SaveListSettings();
}

void List::Image1_Click(int index)
{
    switch (index) {
    case 3:
        if (PrintWindow()) PrintWindow()(this, *this);
        return;
    case 4:
        ExportList(*this, this);
        return;
    case 5: {
        Difference dialog(this);
        dialog.Form_Load();
        dialog.exec(); // its OK reloads the list
        return;
    }
    case 6:
        chkNetto->setChecked(!chkNetto->isChecked());
        return;
    default:
        break;
    }
    if (G_NoListEdit) {
        MsgBox(LIST_EDIT_REFUSED_MESSAGE, vbOKOnly + vbInformation);
        return;
    }
    if (index == 0) {
        NewConnection dialog(this);
        if (dialog.Form_Load()) dialog.exec(); // saving reloads the list
    } else if (index == 1) {
        editSelectedRecord();
    } else if (index == 2) {
        deleteSelectedRecords();
    }
}

void List::editSelectedRecord()
{
    QTreeWidgetItem* item = lstConnections->currentItem();
    if (!item || !item->isSelected()) {
        const QList<QTreeWidgetItem*> selected = lstConnections->selectedItems();
        item = selected.isEmpty() ? nullptr : selected.first();
    }
    if (!item || item->text(ColFile - 1).isEmpty()) return;
    lstConnections->Tag = item->text(ColFile - 1);
    ChangeConnection dialog(lstConnections->Tag, this);
    if (dialog.Form_Load()) dialog.exec();
}

void List::showDefiniert()
{
    Definiert dialog(this);
    dialog.Form_Load();
    dialog.exec();
}

void List::deleteSelectedRecords()
{
    int deleted = 0;
    for (int row = 0; row < lstConnections->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = lstConnections->topLevelItem(row);
        if (!item->isSelected()) continue;
        const QString name = item->text(ColFile - 1);
        if (!IsSafeName(name)) continue;
        const QString found = FindFileNoCase(RecordFolderPath(), name);
        if (!found.isEmpty() && QFile::remove(RecordFolderPath() + "/" + found)) ++deleted;
    }
    if (deleted > 0) GetConnections();
}

void List::LoadListSettings()
{
    const StoredListSettings stored = ReadListSettings();
    if (stored.period) comZeitraum->setCurrentIndex(*stored.period);
    const auto choose = [](QComboBox* box, const std::optional<QString>& text) {
        if (!text) return;
        const int index = box->findText(*text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0) box->setCurrentIndex(index);
    };
    choose(comListUser, stored.user);
    choose(comAnbieter, stored.provider); // refills comTarif
    choose(comTarif, stored.tariff);
    if (stored.net) chkNetto->setChecked(*stored.net);
    if (stored.sort) {
        m_sort = *stored.sort;
        m_keys = ListSortKeys(m_sort);
    }
    // leftmost first, so that each move leaves the columns already placed where they are
    std::vector<int> columns(LIST_SETTING_COLUMNS);
    std::iota(columns.begin(), columns.end(), 0);
    std::stable_sort(columns.begin(), columns.end(), [&stored](int a, int b) {
        return stored.positions[a].value_or(LIST_SETTING_COLUMNS) < stored.positions[b].value_or(LIST_SETTING_COLUMNS);
    });
    QHeaderView* header = lstConnections->header();
    for (int column : columns)
        if (stored.positions[column]) header->moveSection(header->visualIndex(column), *stored.positions[column]);
    for (int column = 0; column < LIST_SETTING_COLUMNS; ++column)
        if (stored.widths[column]) lstConnections->setColumnWidth(column, *stored.widths[column]);
}

void List::SaveListSettings()
{
    m_widthChangeSaved = true;
    ListSettings settings;
    settings.period = comZeitraum->currentIndex();
    settings.user = comListUser->currentText();
    settings.provider = comAnbieter->currentText();
    settings.tariff = comTarif->currentText();
    settings.net = chkNetto->isChecked();
    settings.sort = m_sort;
    for (int column = 0; column < LIST_SETTING_COLUMNS; ++column) {
        settings.positions[column] = lstConnections->header()->visualIndex(column);
        settings.widths[column] = lstConnections->columnWidth(column);
    }
    WriteListSettings(settings); // a layout that cannot be stored is only not remembered
}

QString List::periodText() const { return comZeitraum->currentText(); }
int List::periodIndex() const { return comZeitraum->currentIndex(); }
QString List::userText() const { return comListUser->currentText(); }
int List::userIndex() const { return comListUser->currentIndex(); }
QString List::providerText() const { return comAnbieter->currentText(); }
int List::providerIndex() const { return comAnbieter->currentIndex(); }
QString List::tariffText() const { return comTarif->currentText(); }
int List::tariffIndex() const { return comTarif->currentIndex(); }
QString List::headerText(int column) const { return lstConnections->headerItem()->text(column - 1); }
int List::rowCount() const { return lstConnections->topLevelItemCount(); }

QString List::cellText(int row, int column) const
{
    const QTreeWidgetItem* item = lstConnections->topLevelItem(row);
    return item ? item->text(column - 1) : QString();
}

int List::columnCount() const { return LIST_COLUMNS; }

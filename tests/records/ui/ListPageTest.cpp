#include "core/Globals.h"
#include "records/ListSettings.h"
#include "records/PrintWindow.h"
#include "records/ui/List.h"
#include "recording/ConnectionRecord.h"

#include "support/ReplaceCounter.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>

#include <memory>
#include <optional>

namespace {
class ListPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeFile("Benutzer/Anna.usr", "");
        writeFile("Benutzer/Bert.usr", "");
        writeFile("Tarife/Netz - Abend.atl", "");
        writeFile("Tarife/Netz - Tag.tel", "");
        record("01032004", "200000", "9,50", "Netz - Abend.atl", "Anna");
        record("01032004", "080000", "12,00", "Netz - Tag.tel", "Bert");
        record("28022004", "230000", "1,00", "Netz - Abend.atl", "Anna");
    }
    void TearDown() override
    {
        SetConnectionListRefresh(nullptr);
        ProgramTest::TearDown();
    }
    void record(const QString& date, const QString& time, const QString& cost, const QString& tariff,
                const QString& user, const std::optional<QString>& comment = std::nullopt,
                const QString& entry = "Einwahl")
    {
        ConnectionRecord r;
        r.startDate = date.left(2) + "." + date.mid(2, 2) + "." + date.mid(4);
        r.startTime = time.left(2) + ":" + time.mid(2, 2) + ":" + time.mid(4);
        r.duration = "00:10:00";
        r.cost = cost;
        r.units = "10";
        r.bytesIn = r.bytesOut = r.bytesTotal = "100";
        r.connectionName = entry;
        r.tariff = tariff;
        r.user = user;
        r.comment = comment;
        ASSERT_TRUE(WriteConnectionRecord(date + "-" + time + ".con", r));
    }
    static std::unique_ptr<List> open()
    {
        auto page = std::make_unique<List>();
        page->Form_Load();
        return page;
    }
    static QStringList column(const List& page, int column)
    {
        QStringList cells;
        for (int row = 0; row < page.rowCount(); ++row) cells << page.cellText(row, column);
        return cells;
    }
    QStringList cfgLines() const { return QString::fromLatin1(readFile("Config/List.cfg")).split("\r\n"); }
    // A mouse event as the window system delivers it to the header.
    static void mouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, to->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &event);
    }
};
} // namespace

TEST_F(ListPageTest, HeaderClicksSortDescendingAndAreStored)
{
    const auto page = open();
    EXPECT_FALSE(exists("Config/List.cfg")); // opening stores nothing
    EXPECT_EQ(page->rowCount(), 3);

    page->lstConnections_ColumnClick(2);
    EXPECT_EQ(column(*page, 14), QStringList({"01032004-200000.con", "01032004-080000.con", "28022004-230000.con"}));
    QString columns; // each column's place and default width
    for (int c = 1; c <= 13; ++c) columns += QString(" %1\r\n %2\r\n").arg(c - 1).arg(page->DefaultColumnWidth(c));
    EXPECT_EQ(QString::fromLatin1(readFile("Config/List.cfg")), QString(" 0\r\n[Alle]\r\n[Alle]\r\n\r\n 0\r\n 2\r\n 2\r\n 100\r\n") + columns);

    // costs compare as text: "9,500" before "12,000", and a second click sorts the same way
    for (int click = 0; click < 2; ++click) {
        page->lstConnections_ColumnClick(5);
        EXPECT_EQ(column(*page, 5), QStringList({"9,500", "12,000", "1,000"}));
    }
    EXPECT_EQ(cfgLines().mid(5, 3), QStringList({" 5", " 2", " 102"}));
    page->lstConnections_ColumnClick(12);
    EXPECT_EQ(column(*page, 12), QStringList({"Bert", "Anna", "Anna"}));
}

TEST_F(ListPageTest, ReopeningRestoresChoicesOrderAndLayout)
{
    {
        const auto page = open();
        page->comZeitraum->setCurrentIndex(7); // "Dieses Jahr" of 2001: nothing listed
        EXPECT_EQ(page->rowCount(), 0);
        page->comZeitraum->setCurrentIndex(0);
        page->comListUser->setCurrentIndex(1);
        page->comAnbieter->setCurrentIndex(1);
        page->comTarif->setCurrentIndex(1);
        page->Image1_Click(6);
        page->lstConnections_ColumnClick(2);
        page->lstConnections->header()->moveSection(12, 1); // "Kommentar" leftmost but one
        page->lstConnections->setColumnWidth(4, 77);
        EXPECT_EQ(page->rowCount(), 2);
    }
    const QByteArray stored = readFile("Config/List.cfg");
    EXPECT_EQ(cfgLines().mid(0, 8),
              QStringList({" 0", "Anna", "Netz", "A - Abend", " 1", " 2", " 2", " 100"}));

    const auto page = open();
    EXPECT_EQ(readFile("Config/List.cfg"), stored); // restoring is no change
    EXPECT_EQ(page->periodText(), "Gesamt");
    EXPECT_EQ(page->userText(), "Anna");
    EXPECT_EQ(page->providerText(), "Netz");
    EXPECT_TRUE(page->comTarif->isEnabled());
    EXPECT_EQ(page->tariffText(), "A - Abend");
    EXPECT_TRUE(page->chkNetto->isChecked());
    EXPECT_TRUE(page->Image1[6]->font().bold());
    EXPECT_EQ(column(*page, 14), QStringList({"01032004-200000.con", "28022004-230000.con"}));
    EXPECT_EQ(column(*page, 5), QStringList({"7,980", "0,840"})); // net of 16 per cent
    EXPECT_EQ(page->lstConnections->header()->visualIndex(12), 1);
    EXPECT_EQ(page->lstConnections->header()->visualIndex(1), 2);
    EXPECT_EQ(page->lstConnections->columnWidth(4), 77);
    EXPECT_TRUE(page->lstConnections->isColumnHidden(13) && page->lstConnections->isColumnHidden(14));
}

// A drag through many widths stores the layout once, when the button is released, with the last width; a
// double-click on a divider and a width set by the program are stored once each.
TEST_F(ListPageTest, ColumnWidthIsStoredOnceADragEnds)
{
    const auto page = open();
    QHeaderView* header = page->lstConnections->header();
    QWidget* viewport = header->viewport();
    QDir().mkpath(path("Config"));
    ReplaceCounter writes(path("Config"));
    const int costs = ColCost - 1;
    const int width = header->sectionSize(costs);
    const QPoint divider(header->sectionViewportPosition(costs) + width - 1, header->height() / 2);
    const auto widthStored = [&] { return cfgLines().value(9 + 2 * costs); };

    mouse(viewport, QEvent::MouseButtonPress, divider, Qt::LeftButton, Qt::LeftButton);
    for (int dx = 2; dx <= 80; dx += 2)
        mouse(viewport, QEvent::MouseMove, divider + QPoint(dx, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(header->sectionSize(costs), width + 80);
    EXPECT_EQ(writes.count("List.cfg"), 0);
    mouse(viewport, QEvent::MouseButtonRelease, divider + QPoint(80, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(writes.count("List.cfg"), 1);
    EXPECT_EQ(widthStored(), QString(" %1").arg(width + 80));

    // the double-click fits the column to its cells
    const QPoint wide(divider.x() + 80, divider.y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease})
        mouse(viewport, type, wide, Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton);
    const int fitted = header->sectionSize(costs);
    EXPECT_LT(fitted, width + 80);
    EXPECT_EQ(writes.count("List.cfg"), 2);
    EXPECT_EQ(widthStored(), QString(" %1").arg(fitted));

    page->lstConnections->setColumnWidth(costs, 77);
    EXPECT_EQ(writes.count("List.cfg"), 3);
    EXPECT_EQ(widthStored(), " 77");
}

TEST_F(ListPageTest, StoredValuesThatDoNotFitArePassedOver)
{
    const struct {
        const char* file;
        int period;   // -1: not restored
        int sortType; // -1: no sort
        int width2;   // width of column 2; -1 its default
    } cases[] = {
        {" 12\r\n", -1, -1, -1},                          // a period outside the list
        {" 3\r\n[Alle]\r\n", 3, -1, -1},                   // a short file stops at its end
        {" 9\r\nx\r\nx\r\nx\r\n 1\r\n 5\r\n 2\r\n 102\r\n 0\r\n 20\r\n 1\r\n 0\r\n", 9, 102, -1}, // width 0
        {"x\r\n\r\n\r\n\r\nx\r\n 5\r\n 2\r\n 7\r\n 0\r\n 20\r\n 1\r\n 99\r\n", -1, -1, 99},      // unknown type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        writeFile("Config/List.cfg", c.file);
        StoredListSettings stored = ReadListSettings();
        EXPECT_EQ(stored.period.value_or(-1), c.period);
        const QList<ListSortKey> keys = stored.sort ? ListSortKeys(*stored.sort) : QList<ListSortKey>();
        EXPECT_EQ(keys.isEmpty() ? -1 : keys[0].type, c.sortType);
        const auto page = open();
        EXPECT_EQ(page->lstConnections->columnWidth(1), c.width2 < 0 ? page->DefaultColumnWidth(2) : c.width2);
        EXPECT_EQ(readFile("Config/List.cfg"), QByteArray(c.file));
    }
}

TEST_F(ListPageTest, RestrictedUserIsRefusedTheEditItems)
{
    G_NoListEdit = true;
    const auto page = open();
    page->lstConnections->selectAll();
    for (int index : {0, 1, 2}) page->Image1_Click(index);
    ASSERT_EQ(dialogs.messages.size(), 3);
    for (const MessageRequest& m : dialogs.messages) {
        EXPECT_EQ(m.text, "Das erstellen oder modifizieren von Listeneinträgen wurde Ihnen in den "
                          "Benutzereinstellungen verboten.");
        EXPECT_EQ(m.style, vbOKOnly + vbInformation);
    }
    EXPECT_EQ(page->rowCount(), 3);
    EXPECT_TRUE(page->lstConnections->Tag.isEmpty());
    page->Image1_Click(6); // net mode still switches
    EXPECT_TRUE(page->chkNetto->isChecked());

    G_NoListEdit = false;
    page->lstConnections->topLevelItem(0)->setSelected(true);
    page->lstConnections->topLevelItem(2)->setSelected(true);
    page->Image1_Click(2); // no question
    EXPECT_EQ(page->rowCount(), 1);
    EXPECT_EQ(dialogs.messages.size(), 3);
}

TEST_F(ListPageTest, PrintItemOpensTheRegisteredWindowOverTheLiveList)
{
    G_NoListEdit = true; // printing is no editing
    const auto page = open();
    page->Image1_Click(3); // nothing registered: nothing happens
    QList<std::pair<QWidget*, const ConnectionListView*>> opened;
    SetPrintWindow([&](QWidget* owner, const ConnectionListView& list) { opened.append({owner, &list}); });
    page->Image1_Click(3);
    SetPrintWindow(nullptr);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].first, page.get());
    EXPECT_EQ(opened[0].second, static_cast<const ConnectionListView*>(page.get()));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ListPageTest, ARecordTheCounterSavesReloadsTheOpenListOnly)
{
    const auto page = open();
    ConnectionDisplay d;
    d.startDateTag = "17012001";
    d.startTime = "08:05:09";
    d.duration = "00:12:30";
    d.cost = "1,25 €";
    d.units = "13 (60)";
    d.bytesIn = d.bytesOut = d.bytesTotal = "100 Bytes";
    d.connectionName = "Einwahl";
    d.tariff = "Netz - Abend.atl";
    d.user = "Anna";
    ASSERT_TRUE(SaveConnectionRecord(d));
    EXPECT_EQ(page->rowCount(), 4);
    page->setObjectName(QString()); // unloaded by the navigation: gone before it is deleted
    d.startTime = "09:05:09";
    ASSERT_TRUE(SaveConnectionRecord(d));
    EXPECT_EQ(page->rowCount(), 4);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// At first sight every date, time, duration and name is whole in the grid's font; a stored width still wins.
TEST_F(ListPageTest, DefaultWidthsShowTypicalValuesWhole)
{
    writeFile("Tarife/Testnetz - Standard.tel", "");
    record("02032004", "100000", "1,00", "Testnetz - Standard.tel", "Anna", std::nullopt, "Keine DFÜ Verbindung");
    const auto page = open();
    const QTreeWidget* grid = page->lstConnections;
    const QFontMetrics metrics(grid->font());
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    const struct {
        int column;
        int partWidth;
        const char* typical;
    } cases[] = {{2, 60, "00.00.0000"}, {3, 50, "00:00:00"}, {4, 50, "000:00:00"}, {5, 50, "0,000"},
                 {6, 60, "Einheiten"},  {9, 70, "Gesamt"},    {10, 60, "Keine DFÜ Verbindung"},
                 {11, 80, "Testnetz - Standard"}, {12, 80, "Netz - Abend"}, {13, 200, "Kommentar"}};
    for (const auto& c : cases) {
        const int width = grid->columnWidth(c.column - 1);
        EXPECT_GE(width, c.partWidth) << c.column;
        EXPECT_GE(width, metrics.horizontalAdvance(QString::fromUtf8(c.typical)) + margins) << c.column;
        EXPECT_GE(width, grid->header()->sectionSizeHint(c.column - 1)) << c.column;
    }
    // the row of the hand entry shows its dial-up and tariff cells whole
    ASSERT_TRUE(column(*page, 10).contains("Keine DFÜ Verbindung"));
    ASSERT_TRUE(column(*page, 11).contains("Testnetz - Standard"));
    const QAbstractItemView* cells = grid;
    for (int c : {10, 11}) EXPECT_GE(grid->columnWidth(c - 1), cells->sizeHintForColumn(c - 1)) << c;
    EXPECT_EQ(grid->columnWidth(0), 20); // the marking icon
    EXPECT_EQ(page->Label3->text(), "  ...");
}

// A comment of several lines keeps every row one line high; the cell itself keeps its line breaks.
TEST_F(ListPageTest, RowsStayOneLineHigh)
{
    record("01012004", "100000", "1,00", "Netz - Tag.tel", "Anna", "Zeile eins\r\nZeile zwei\nZeile drei");
    const auto page = open();
    page->resize(800, 600);
    page->show();
    ASSERT_EQ(page->rowCount(), 4);
    EXPECT_EQ(column(*page, 2).value(0), "01.01.2004");
    EXPECT_EQ(page->cellText(0, 13), "Zeile eins\r\nZeile zwei\nZeile drei");
    const QTreeWidget* grid = page->lstConnections;
    const int oneLine = grid->visualItemRect(grid->topLevelItem(1)).height();
    EXPECT_LT(oneLine, 2 * QFontMetrics(grid->font()).lineSpacing());
    for (int row = 0; row < page->rowCount(); ++row)
        EXPECT_EQ(grid->visualItemRect(grid->topLevelItem(row)).height(), oneLine) << row;
}

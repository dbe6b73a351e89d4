#include "core/Globals.h"
#include "records/ListSettings.h"
#include "records/PrintWindow.h"
#include "records/ui/List.h"
#include "recording/ConnectionRecord.h"

#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QToolButton>

#include <memory>

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
                const QString& user)
    {
        ConnectionRecord r;
        r.startDate = date.left(2) + "." + date.mid(2, 2) + "." + date.mid(4);
        r.startTime = time.left(2) + ":" + time.mid(2, 2) + ":" + time.mid(4);
        r.duration = "00:10:00";
        r.cost = cost;
        r.units = "10";
        r.bytesIn = r.bytesOut = r.bytesTotal = "100";
        r.connectionName = "Einwahl";
        r.tariff = tariff;
        r.user = user;
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
};
} // namespace

TEST_F(ListPageTest, HeaderClicksSortDescendingAndAreStored)
{
    const auto page = open();
    EXPECT_FALSE(exists("Config/List.cfg")); // opening stores nothing
    EXPECT_EQ(page->rowCount(), 3);

    page->lstConnections_ColumnClick(2);
    EXPECT_EQ(column(*page, 14), QStringList({"01032004-200000.con", "01032004-080000.con", "28022004-230000.con"}));
    const QString columns = " 0\r\n 20\r\n 1\r\n 60\r\n 2\r\n 50\r\n 3\r\n 50\r\n 4\r\n 50\r\n 5\r\n 60\r\n 6\r\n"
                               " 70\r\n 7\r\n 70\r\n 8\r\n 70\r\n 9\r\n 60\r\n 10\r\n 80\r\n 11\r\n 80\r\n 12\r\n 200\r\n";
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

TEST_F(ListPageTest, StoredValuesThatDoNotFitArePassedOver)
{
    const struct {
        const char* file;
        int period;   // -1: not restored
        int sortType; // -1: no sort
        int width2;   // width of column 2
    } cases[] = {
        {" 12\r\n", -1, -1, 60},                          // a period outside the list
        {" 3\r\n[Alle]\r\n", 3, -1, 60},                   // a short file stops at its end
        {" 9\r\nx\r\nx\r\nx\r\n 1\r\n 5\r\n 2\r\n 102\r\n 0\r\n 20\r\n 1\r\n 0\r\n", 9, 102, 60}, // width 0
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
        EXPECT_EQ(page->lstConnections->columnWidth(1), c.width2);
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

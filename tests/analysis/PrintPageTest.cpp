#include "analysis/PrintPage.h"
#include "analysis/RecordingSurface.h"
#include "core/Globals.h"
#include "support/FakeListView.h"
#include "support/TestSupport.h"

#include "DayRecord.h"

#include <QFontInfo>
#include <QImage>

#include <cmath>

namespace {
// Row r (from 1) of a list whose start-time cell names the row.
QStringList listRow(int r, const QString& duration = "0:10:00", const QString& bytes = "1000",
                    const QString& user = "anna")
{
    return {"",    "05.01.2004", "R" + QString::number(r), duration, "1,00", "1", "0", "0",
            bytes, "Modem",      "Alpha - Abend",          user};
}

bool near(double a, double b)
{
    return std::fabs(a - b) < 1e-4;
}

bool hasCall(const RecordingSurface& s, const QString& op, QList<double> args, int page = 0)
{
    for (const SurfaceCall& c : s.calls) {
        if (c.op != op || c.args.size() != args.size() || (page && c.page != page)) continue;
        bool same = true;
        for (int i = 0; i < args.size(); ++i)
            same = same && near(c.args[i], args[i]);
        if (same) return true;
    }
    return false;
}

// Pages come and go as the test says; each new page is counted on the surface.
class FakePager : public PrintPager {
public:
    FakePager(RecordingSurface& s, double height) : surface(s), height(height) {}
    double PrintableHeight() override { return height; }
    bool NewPage() override
    {
        if (refuse) return false;
        ++surface.page;
        return true;
    }
    RecordingSurface& surface;
    double height;
    bool refuse = false;
};
} // namespace

class PrintPageTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0)));
        G_Currency = QStringLiteral("€");
        options.monthDiagrams = false;
        options.month = 1;
        list.period = ""; // titled "Verbindungen"
    }
    void record(const QString& name, const QStringList& lines) { writeCipher("Verbindungen/" + name, lines); }
    void rows(int count)
    {
        for (int r = 1; r <= count; ++r)
            list.rows << listRow(r);
    }
    // The left and right value labels, top to bottom.
    static QStringList labels(const RecordingSurface& s, bool left)
    {
        QStringList out;
        for (const SurfaceCall& c : s.ops("DrawText"))
            if (c.font == "Small Fonts" && c.args[1] < 78 && (left ? c.args[0] < 23 : c.args[0] > 188)) out << c.text;
        return out;
    }
    QList<SurfaceCall> bars(const RecordingSurface& s) const { return s.ops("FillBox"); }

    PrintPageOptions options;
    FakeList list;
};

TEST_F(PrintPageTest, TitleCentredAndFilterBoxBelowTitleOrDiagrams)
{
    list.user = "Anna";
    list.provider = "[Alle]";
    list.tariff = "";
    RecordingSurface s;
    ASSERT_TRUE(DrawPrintPage(s, options, list));
    EXPECT_EQ(s.calls.first().op, "Clear");
    const SurfaceCall title = s.text("Verbindungen");
    RecordingSurface measure;
    measure.SetFont("Arial", 14, true);
    EXPECT_NEAR(title.args[0] + measure.TextWidth("Verbindungen") / 2, 105, 1e-9);
    EXPECT_EQ(title.args[1], 16);
    EXPECT_EQ(title.font, "Arial");
    EXPECT_EQ(title.points, 14);
    EXPECT_TRUE(title.bold);
    EXPECT_TRUE(hasCall(s, "DrawBox", {15, 15, 195, 23.5}));
    EXPECT_TRUE(hasCall(s, "DrawBox", {15, 27, 195, 32}));
    EXPECT_TRUE(hasCall(s, "DrawText", {17, 27.5}));
    EXPECT_EQ(s.text("Benutzer: Anna").args, (QList<double>{17, 27.5}));
    EXPECT_EQ(s.text("Anbieter: Alle").args, (QList<double>{77, 27.5}));
    EXPECT_EQ(s.text("Tarif: Alle").args, (QList<double>{137, 27.5}));
    EXPECT_FALSE(s.text("Tarif: Alle").bold);

    options.monthDiagrams = true;
    RecordingSurface d;
    DrawPrintPage(d, options, list);
    EXPECT_TRUE(hasCall(d, "DrawBox", {15, 27, 195, 90}));
    EXPECT_TRUE(hasCall(d, "DrawBox", {15, 91, 195, 96}));
    EXPECT_EQ(d.text("Benutzer: Anna").args, (QList<double>{17, 91.5}));
}

TEST_F(PrintPageTest, DiagramLabelsAndBarsFollowTheMaximum)
{
    record("10012004-100000.con", recordLines("10.01.2004", "2:00:00", "12,5", "5000000"));
    record("11012004-100000.con", recordLines("11.01.2004", "0:30:00", "6,25", "1000000"));
    options.monthDiagrams = true;
    RecordingSurface s;
    DrawPrintPage(s, options, list); // online time and transfer
    EXPECT_EQ(labels(s, true), (QStringList{"120", "96", "72", "48", "24"}));
    EXPECT_EQ(labels(s, false), (QStringList{"5,0", "4,0", "3,0", "2,0", "1,0"}));
    const SurfaceCall top = s.text("120");
    s.SetFont("Small Fonts", 6);
    EXPECT_NEAR(top.args[0] + s.TextWidth("120"), 21.5, 1e-9);
    EXPECT_NEAR(top.args[1] + s.TextHeight("120") / 2, 40, 1e-9);
    EXPECT_EQ(s.text("5,0").args[0], 188.5);
    EXPECT_TRUE(s.text("Onlinezeitdiagramm (Min)").bold);
    EXPECT_EQ(s.text("Transferdiagramm (MB)").args[1], 28);

    options.diagramPair = 2;
    RecordingSurface c;
    DrawPrintPage(c, options, list);
    EXPECT_EQ(labels(c, true), (QStringList{"12,5", "10,0", "7,5", "5,0", "2,5"}));
    EXPECT_FALSE(c.text("Kostendiagramm (€)").op.isEmpty());
    const QList<SurfaceCall> b = bars(c);
    ASSERT_EQ(b.size(), 62);
    EXPECT_TRUE(hasCall(c, "FillBox", {22.3 + 24 - 0.8, 40, 22.3 + 24 + 0.8, 80}));     // day 10: the maximum
    EXPECT_TRUE(hasCall(c, "FillBox", {22.3 + 26.4 - 0.8, 60, 22.3 + 26.4 + 0.8, 80})); // day 11: half of it
    EXPECT_EQ(b[0].color, QColor(120, 200, 0));
    EXPECT_EQ(b[1].color, QColor(200, 0, 120));
    EXPECT_EQ(b[1].args[0], 110.8 + 2.4 - 0.8);

    // A month without records: every maximum 0.0001, zero labels, flat grey bars; day labels 1, 5, ... 30.
    options.diagramPair = 3;
    options.month = 2; // February comes later than 15 January: last year's, and it has no records
    options.colour = false;
    RecordingSurface e;
    DrawPrintPage(e, options, list);
    EXPECT_EQ(labels(e, true), QStringList(5, "0,0"));
    EXPECT_EQ(labels(e, false), QStringList(5, "0,0"));
    EXPECT_FALSE(e.text("Onlinezeitdiagramm (Min)").op.isEmpty());
    for (const SurfaceCall& bar : bars(e)) {
        EXPECT_EQ(bar.args[1], 80);
        EXPECT_EQ(bar.color, QColor(128, 128, 128));
    }
    QStringList days;
    for (const SurfaceCall& t : e.ops("DrawText"))
        if (t.args[1] == 81) days << t.text;
    EXPECT_EQ(days, (QStringList{"1", "1", "5", "5", "10", "10", "15", "15", "20", "20", "25", "25", "30", "30"}));
}

TEST_F(PrintPageTest, ListRowsMarksBandsCutsAndTotals)
{
    writeFile("Config/DIFFERENCE.CFG", " 2\r\n0,00\r\n0,00\r\n0,00\r\n0:10:00\r\n0:30:00\r\n1:00:00\r\n");
    list.rows = {listRow(1, "0:45:00", "1500000000", "Anna Maria von Hohenstein"), listRow(2, "0:10:00", "1500000000"),
                 listRow(3, "2:00:00", "1")};
    options.markDifferences = true;
    RecordingSurface s(1.5, 3.5); // every character 1.5 mm: 22.5 mm hold 15
    ASSERT_TRUE(DrawPrintPage(s, options, list));
    EXPECT_EQ(s.text("R1").args, (QList<double>{42, 39.5}));
    EXPECT_EQ(s.text("Mo,").args, (QList<double>{17, 39.5}));
    EXPECT_EQ(s.text("R3").args[1], 49.5);
    EXPECT_EQ(s.text("Anna Maria von.").args, (QList<double>{117, 39.5}));
    EXPECT_EQ(s.text("0:45:00").color, QColor(192, 192, 0));
    EXPECT_EQ(s.text("0:10:00").color, QColor(Qt::black)); // equal is not above
    EXPECT_EQ(s.text("2:00:00").color, QColor(128, 0, 0));
    EXPECT_EQ(s.text("1500,00").color, QColor(Qt::black));
    EXPECT_TRUE(s.text("1,00").bold);
    EXPECT_EQ(s.text("1,00").args[0], 193 - 1.5 * 4);
    const QList<SurfaceCall> bands = s.ops("FillBox");
    ASSERT_EQ(bands.size(), 1);
    EXPECT_EQ(bands[0].args, (QList<double>{15, 44.5, 195, 48.5}));
    EXPECT_EQ(bands[0].color, QColor(224, 224, 224));
    EXPECT_EQ(s.text("3 Verbindungen").args, (QList<double>{17, 57.5}));
    EXPECT_EQ(s.text("3000,00").args[1], 57.5); // beyond 2^31 bytes
    EXPECT_EQ(s.text("02:55:00").args, (QList<double>{59, 57.5}));
    EXPECT_EQ(s.text("3,00").args[1], 57.5);
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 33, 15, 62.5}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 62.5, 195, 62.5}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {73.5, 38, 73.5, 62.5}));

    // volume thresholds in KB as the marking window writes them, with a decimal comma
    writeFile("Config/DIFFERENCE.CFG",
              " 3\r\n0,00\r\n0,00\r\n0,00\r\n0:10:00\r\n0:30:00\r\n1:00:00\r\n0,5\r\n1499,5\r\n2000000\r\n");
    const auto rows = list.rows;
    list.rows = {listRow(1, "0:45:00", "1499500")};
    RecordingSurface v(1.5, 3.5);
    ASSERT_TRUE(DrawPrintPage(v, options, list));
    EXPECT_EQ(v.text("1,50").color, QColor(0, 128, 0)); // 1499,5 KB is not above 1499,5
    list.rows = rows;

    options.markDifferences = false;
    options.transferColumns = false;
    RecordingSurface n(1.5, 3.5);
    DrawPrintPage(n, options, list);
    EXPECT_EQ(n.text("2:00:00").color, QColor(Qt::black));
    EXPECT_EQ(n.text("Benutzer").args[0], 80);
    EXPECT_TRUE(n.text("3000,00").op.isEmpty());
}

TEST_F(PrintPageTest, EmptyTablesAreFiveMillimetreBoxes)
{
    for (const bool printer : {false, true}) {
        RecordingSurface s;
        FakePager pager(s, 287);
        DrawPrintPage(s, options, list, printer ? &pager : nullptr);
        EXPECT_TRUE(s.text("Datum").op.isEmpty());
        EXPECT_TRUE(hasCall(s, "DrawLine", {15, 33, 15, 38}));
        EXPECT_TRUE(hasCall(s, "DrawLine", {195, 33, 195, 38}));
        EXPECT_TRUE(hasCall(s, "DrawLine", {15, 38, 195, 38}));
        EXPECT_FALSE(hasCall(s, "DrawLine", {73.5, 38, 73.5, 38}));
    }
    // The printed invoice form without tariffs: its bottom line alone under the filter box's line.
    options.listForm = false;
    RecordingSurface s;
    FakePager pager(s, 287);
    DrawPrintPage(s, options, list, &pager);
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 33, 195, 33}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 38, 195, 38}));
    for (const SurfaceCall& l : s.ops("DrawLine"))
        EXPECT_FALSE(l.args[0] == l.args[2] && l.args[1] >= 33);
}

TEST_F(PrintPageTest, InvoiceRowsTotalsAndFrame)
{
    options.listForm = false;
    list.rows = {listRow(1, "0:10:00", "3000000000"), listRow(2), listRow(3)};
    list.rows[1][11 - 1] = "Beta - Tag";
    list.rows[2][11 - 1] = "Gamma - Nacht";
    RecordingSurface s;
    ASSERT_TRUE(DrawPrintPage(s, options, list));
    EXPECT_EQ(s.text("Alpha - Abend").args, (QList<double>{20, 39}));
    EXPECT_EQ(s.text("Beta - Tag").args[1], 45);
    EXPECT_EQ(s.text("Gamma - Nacht").args[1], 51);
    EXPECT_EQ(s.text("3000,00 MB").args[1], 39);
    EXPECT_EQ(s.text("1,00 €").args[1], 39);
    EXPECT_EQ(s.text("Gesamt: 3 Anbieter").args, (QList<double>{20, 59}));
    EXPECT_TRUE(s.text("Gesamt: 3 Anbieter").bold);
    EXPECT_EQ(s.text("3,00 €").args[1], 59);
    EXPECT_EQ(s.text("00:30:00").args, (QList<double>{153, 59}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {20, 57, 190, 57}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 70, 195, 70}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 33, 15, 70}));

    RecordingSurface p;
    FakePager pager(p, 287);
    DrawPrintPage(p, options, list, &pager);
    EXPECT_TRUE(hasCall(p, "DrawLine", {15, 33, 15, 39}));
    EXPECT_TRUE(hasCall(p, "DrawLine", {195, 45, 195, 51}));
    EXPECT_TRUE(hasCall(p, "DrawLine", {15, 51, 15, 70}));
    EXPECT_TRUE(hasCall(p, "DrawLine", {15, 70, 195, 70}));
    EXPECT_FALSE(hasCall(p, "DrawLine", {15, 33, 15, 70}));
}

TEST_F(PrintPageTest, PrinterBreaksPagesBeforeRowsPastTheLimit)
{
    rows(110);
    RecordingSurface s;
    FakePager pager(s, 287);
    ASSERT_TRUE(DrawPrintPage(s, options, list, &pager));
    EXPECT_EQ(s.page, 3);
    EXPECT_TRUE(s.ops("Clear").isEmpty());
    const auto at = [&](int r) {
        return std::pair{s.text("R" + QString::number(r)).args[1], s.text("R" + QString::number(r)).page};
    };
    EXPECT_EQ(at(1), (std::pair{39.5, 1}));
    EXPECT_EQ(at(48), (std::pair{274.5, 1}));
    EXPECT_EQ(at(49), (std::pair{12.5, 2}));
    EXPECT_EQ(at(101), (std::pair{272.5, 2}));
    EXPECT_EQ(at(102), (std::pair{10.5, 3}));
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, 33, 15, 39.5}, 1)); // the heading band's piece
    EXPECT_TRUE(hasCall(s, "DrawLine", {73.5, 12.5, 73.5, 17.5}, 2));
    const double last = 10.5 + 5 * 8; // row 110
    EXPECT_EQ(s.text("110 Verbindungen").args[1], last + 5 + 3);
    EXPECT_TRUE(hasCall(s, "DrawLine", {15, last, 15, last + 13}, 3));
    EXPECT_FALSE(hasCall(s, "DrawLine", {73.5, 38, 73.5, last + 13}));

    options.monthDiagrams = true;
    RecordingSurface d;
    FakePager dp(d, 287);
    DrawPrintPage(d, options, list, &dp);
    EXPECT_EQ(d.text("R1").args[1], 103.5);
    EXPECT_EQ(d.text("R35").page, 1);
    EXPECT_EQ(d.text("R36").page, 2);

    options.monthDiagrams = false;
    RecordingSurface h;
    FakePager hp(h, 284.5);
    DrawPrintPage(h, options, list, &hp);
    EXPECT_EQ(h.text("R48").page, 1); // 274.5 is not above 284.5 - 10
    EXPECT_EQ(h.text("R49").page, 2);

    RecordingSurface r;
    FakePager refused(r, 287);
    refused.refuse = true;
    EXPECT_FALSE(DrawPrintPage(r, options, list, &refused));
    EXPECT_TRUE(r.text("R49").op.isEmpty());
}

TEST_F(PrintPageTest, PreviewLeavesOutRowsBelowThePageButCountsThem)
{
    rows(110);
    RecordingSurface s;
    DrawPrintPage(s, options, list);
    EXPECT_EQ(s.text("R52").args[1], 294.5);
    EXPECT_TRUE(s.text("R53").op.isEmpty());
    EXPECT_EQ(s.text("110 Verbindungen").args[1], 39.5 + 5 * 110 + 3);
    EXPECT_FALSE(s.text("18:20:00").op.isEmpty());
}

// The page on the preview's picture: 210 x 295 mm at 96 dpi.
TEST(PrintPagePixels, MillimetreBoxesLinesAndTextOnThePreviewPicture)
{
    EXPECT_EQ(QFontInfo(SurfaceFont("Arial", 10, false)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(SurfaceFont("Small Fonts", 6, false)).family(), "Liberation Sans");
    QImage image = NewPrintPreviewPicture();
    double height = 0;
    {
        PainterSurface s(&image);
        s.SetUnit(SurfaceUnit::Millimetres);
        s.Clear();
        s.SetColor(Qt::black);
        s.FillBox(20, 100, 60, 100); // y 377.95 px
        s.DrawLine(10, 50, 100, 50); // y 188.98 px
        s.SetFont("Arial", 10, false);
        height = s.TextHeight("Tarif");
        s.DrawText(120, 150, "Tarif"); // y 566.9 px
    }
    EXPECT_NEAR(height, 4.0, 0.6); // 10 points of the device, not 10 millimetres
    const auto black = [&](int x, int y) { return image.pixelColor(x, y) == QColor(Qt::black); };
    EXPECT_TRUE(black(150, 378));
    EXPECT_FALSE(black(150, 377));
    EXPECT_FALSE(black(150, 379));
    EXPECT_TRUE(black(300, 189));
    EXPECT_FALSE(black(300, 188));
    EXPECT_FALSE(black(300, 190));
    int top = -1, bottom = -1;
    for (int y = 500; y < 650; ++y)
        for (int x = 440; x < 560; ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                if (top < 0) top = y;
                bottom = y;
            }
    EXPECT_GE(top, 567);
    EXPECT_LE(top, 567 + 4); // the cap sits just below the text's top, not a baseline above it
    EXPECT_LE(bottom, 567 + int(height * 96 / 25.4) + 1);
}

#include "analysis/ui/Printing.h"
#include "core/ui/PrinterDialogs.h"
#include "core/ui/WindowUtils.h"
#include "core/Globals.h"
#include "core/LineCipher.h"
#include "records/PrintPreview.h"
#include "support/FakeListView.h"
#include "support/ui/SimWindowPlatform.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <functional>
#include <memory>

namespace {
bool AllWhite(const QLabel* box)
{
    const QImage image = box->pixmap().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

class PrintingTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        clock.set(QDateTime(QDate(2004, 1, 15), QTime(12, 0, 0)));
        sim.printers.installed = {"Laser 1", "Laser 2", "PDF"};
        sim.printers.systemDefault = "Laser 2";
        sim.printers.outputFolder = dir.path();
        list.period = QStringLiteral("Gesamt");
        G_Currency = QStringLiteral("€");
    }
    std::unique_ptr<Printing> open()
    {
        auto window = std::make_unique<Printing>(list);
        window->Form_Load();
        return window;
    }
    SimWindowPlatform sim;
    FakeList list;
};
} // namespace

TEST_F(PrintingTest, StartUpPicksTheMonthOfTheListPeriod)
{
    const struct {
        QDate today;
        const char* period;
        const char* month;
    } cases[] = {
        {QDate(2004, 1, 15), "Letzter Monat", "Dezember"}, {QDate(2004, 1, 15), "Vorletzter Monat", "November"},
        {QDate(2004, 1, 15), "Heute", "Januar"},           {QDate(2004, 5, 31), "Letzter Monat", "April"},
        {QDate(2004, 3, 31), "Vorletzter Monat", "Januar"}, {QDate(2004, 7, 1), "Letztes Jahr", "Juli"},
    };
    for (const auto& c : cases) {
        clock.set(QDateTime(c.today, QTime(12, 0, 0)));
        list.period = c.period;
        const auto window = open();
        EXPECT_EQ(window->comZeitraum->currentText(), c.month) << c.period;
        EXPECT_EQ(window->comZeitraum->count(), 12);
        EXPECT_FALSE(window->IsLoading);
    }
}

TEST_F(PrintingTest, OpensWithTheOriginalsChoices)
{
    const auto window = open();
    EXPECT_EQ(window->windowTitle(), "Drucken...");
    EXPECT_EQ(window->size(), QSize(600, 446));
    EXPECT_TRUE(IsFormLoaded("Printing"));
    EXPECT_EQ(window->Text1->text(), "1");
    EXPECT_EQ(window->VScroll1->value(), -1);
    EXPECT_TRUE(window->Option4->isChecked() && window->Option1->isChecked() && window->Option7->isChecked());
    EXPECT_TRUE(window->Check1->isChecked() && window->Check2->isChecked());
    EXPECT_FALSE(window->Check3->isChecked() || window->Check4->isChecked());
    EXPECT_EQ(window->Option1->text(), "Dauer && Transfer");
    EXPECT_EQ(window->IDPreview->size(), QSize(251, 343));
    EXPECT_TRUE(AllWhite(window->IDPreview));
    // one exclusive group per frame
    window->Option5->setChecked(true);
    window->Option3->setChecked(true);
    EXPECT_TRUE(window->Option7->isChecked());
    EXPECT_FALSE(window->Option4->isChecked() || window->Option1->isChecked());
}

TEST_F(PrintingTest, CopiesFieldAndSpinnerKeepOneToNinetyNine)
{
    const auto window = open();
    window->Text1->setText("");
    EXPECT_EQ(window->Text1->text(), "1");
    window->Text1->setText("0");
    EXPECT_EQ(window->Text1->text(), "1");
    window->Text1->setText("12");
    EXPECT_EQ(window->VScroll1->value(), -12);
    window->VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow
    EXPECT_EQ(window->Text1->text(), "13");
    window->Text1->setText("1");
    window->VScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd); // the lower arrow at 1
    EXPECT_EQ(window->Text1->text(), "1");
    EXPECT_EQ(window->VScroll1->value(), -1);
    window->Text1->setText("99");
    window->VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(window->Text1->text(), "99");
}

TEST_F(PrintingTest, CopiesTextRoundsHalvesToEvenInSixteenBits)
{
    const struct {
        const char* text;
        int copies;
    } cases[] = {{"2.5", 2}, {"3.5", 4}, {"1", 1}, {"99", 99}, {"7x", 7}, {"", 0}, {"40000", 32767}};
    for (const auto& c : cases) EXPECT_EQ(Printing::CopiesFromText(c.text), c.copies) << c.text;
}

TEST_F(PrintingTest, ColourAndFormDecideTheMarking)
{
    const auto window = open();
    window->Check3->setChecked(true);
    window->Option5->setChecked(true); // "Monochrom"
    EXPECT_FALSE(window->Check3->isChecked() || window->Check3->isEnabled() || window->Command3->isEnabled());
    window->Option4->setChecked(true); // "Bunt"
    EXPECT_TRUE(window->Check3->isEnabled() && window->Command3->isEnabled());
    EXPECT_FALSE(window->Check3->isChecked());

    window->Check3->setChecked(true);
    window->Option6->setChecked(true); // "Rechnungsform"
    EXPECT_FALSE(window->Check3->isChecked() || window->Check3->isEnabled() || window->Command3->isEnabled());
    // the last choice decides, whatever the other frame shows
    window->Option5->setChecked(true);
    window->Option7->setChecked(true);
    EXPECT_TRUE(window->Check3->isEnabled() && window->Command3->isEnabled());
}

TEST_F(PrintingTest, PrinterListSelectsTheCurrentPrinterOrTheFirst)
{
    auto window = open();
    EXPECT_EQ(window->Combo1->count(), 3);
    EXPECT_EQ(window->Combo1->currentText(), "Laser 2");
    window.reset();

    sim.printers.systemDefault = "Laser 9"; // not installed
    window = open();
    EXPECT_EQ(window->Combo1->currentIndex(), 0);

    // a print run makes its printer the program's for later openings
    window->Combo1->setCurrentIndex(2);
    window->Command1_Click(0);
    window.reset();
    EXPECT_EQ(open()->Combo1->currentText(), "PDF");
}

TEST_F(PrintingTest, WithoutPrintersNothingIsPrinted)
{
    sim.printers.installed.clear();
    sim.printers.systemDefault.clear();
    int settingsShown = 0;
    SetPrinterSettingsDialog([&](QPrinter&, QWidget*) { ++settingsShown; });
    const auto window = open();
    window->show();
    EXPECT_EQ(window->Combo1->count(), 0);
    window->Command2_Click();
    EXPECT_EQ(settingsShown, 0);
    window->Command1_Click(0);
    SetPrinterSettingsDialog(nullptr);
    EXPECT_EQ(dialogs.texts(), QStringList{"Kein Drucker ausgewählt"});
    EXPECT_EQ(dialogs.messages[0].style, vbExclamation);
    EXPECT_TRUE(sim.printers.requested.isEmpty());
    EXPECT_FALSE(window->isVisible()); // closed all the same
}

TEST_F(PrintingTest, PrintsOnTheChosenPrinterWithTheJobSettings)
{
    const auto window = open();
    window->Combo1->setCurrentIndex(0);
    window->Text1->setText("3");
    window->Option5->setChecked(true);
    window->Drucken();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    ASSERT_EQ(sim.printers.requested, QStringList{"Laser 1"});
    QPrinter& printer = *sim.printers.printers.at("Laser 1");
    EXPECT_EQ(printer.docName(), "Zumbrel"); // the job's name in the queue
    EXPECT_EQ(printer.copyCount(), 3);
    EXPECT_EQ(printer.colorMode(), QPrinter::GrayScale);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_FALSE(printer.fullPage());
    EXPECT_DOUBLE_EQ(printer.pageLayout().paintRect(QPageLayout::Millimeter).height(), 287.0);
    EXPECT_TRUE(readFile("Laser 1.pdf").startsWith("%PDF"));

    window->Option4->setChecked(true);
    window->Text1->setText("1");
    window->Drucken();
    EXPECT_EQ(printer.colorMode(), QPrinter::Color);
    EXPECT_EQ(printer.copyCount(), 1);
}

TEST_F(PrintingTest, APrinterThatCannotBeHadIsNamed)
{
    const auto window = open();
    sim.printers.gone = {"Laser 2"}; // removed since the list was filled
    window->Drucken();
    sim.printers.gone.clear();
    sim.printers.outputFolder = dir.path() + "/missing"; // the job cannot start
    window->Drucken();
    EXPECT_EQ(dialogs.texts(), QStringList({"Der Drucker \"Laser 2\" konnte nicht verwendet werden.",
                                            "Der Drucker \"Laser 2\" konnte nicht verwendet werden."}));
    EXPECT_FALSE(QDir(dir.path()).exists("missing/Laser 2.pdf"));
}

TEST_F(PrintingTest, PreviewDrawsOnlyWhenTickedAndLeavesNoPicture)
{
    const auto window = open();
    window->Option2->setChecked(true);
    EXPECT_TRUE(AllWhite(window->IDPreview)); // "Vorschau" off
    window->Check4->setChecked(true);
    EXPECT_FALSE(AllWhite(window->IDPreview));
    EXPECT_EQ(window->IDPreview->pixmap().size(), QSize(251, 343));
    EXPECT_TRUE(window->Label2->isHidden());
    EXPECT_FALSE(exists("tmp.bmp"));
    window->Check4->setChecked(false);
    EXPECT_TRUE(AllWhite(window->IDPreview));

    // the list's marking dialog redraws through the registration, until the window is gone
    window->Check4->setChecked(true);
    window->Check4->blockSignals(true);
    window->Check4->setChecked(false);
    window->Check4->blockSignals(false);
    window->IDPreview->setPixmap(QPixmap());
    RefreshPrintPreview();
    EXPECT_TRUE(window->IDPreview->pixmap().isNull()); // off: nothing drawn
}

TEST_F(PrintingTest, PreviewNeedsNoPictureFileInTheDataFolder)
{
    writeFile("draussen/bild.bmp", "fremd");
    const struct {
        const char* name;
        std::function<bool()> make;
    } cases[] = {
        {"a folder named tmp.bmp", [&] { return QDir(dir.path()).mkdir("tmp.bmp"); }},
        {"a link named tmp.bmp",
         [&] { return QDir(dir.path()).rmdir("tmp.bmp") && QFile::link(path("draussen/bild.bmp"), path("tmp.bmp")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.make());
        const auto window = open();
        window->Check4->setChecked(true);
        EXPECT_FALSE(AllWhite(window->IDPreview));
        EXPECT_TRUE(window->Label2->isHidden());
        EXPECT_EQ(readFile("draussen/bild.bmp"), "fremd");
        EXPECT_TRUE(QFileInfo(path("tmp.bmp")).isDir() || QFileInfo(path("tmp.bmp")).isSymLink());
    }
}

TEST_F(PrintingTest, RefreshRedrawsWhileOpenOnly)
{
    auto window = open();
    window->Check4->setChecked(true);
    window->IDPreview->setPixmap(QPixmap());
    RefreshPrintPreview();
    EXPECT_FALSE(window->IDPreview->pixmap().isNull());
    window.reset();
    EXPECT_FALSE(IsFormLoaded("Printing"));
    RefreshPrintPreview(); // nothing registered any more
}

// Whether some pixel of the preview is within a few steps of `color` (the box is smoothed when shrunk).
static bool HasColor(const QLabel* box, const QColor& color)
{
    const QImage image = box->pixmap().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) < 8 && std::abs(c.green() - color.green()) < 8 &&
                std::abs(c.blue() - color.blue()) < 8)
                return true;
        }
    return false;
}

TEST_F(PrintingTest, PreviewShowsTheDiagramBarsInTheChosenColours)
{
    writeCipher("Verbindungen/10012004-100000.con", {"S10.01.2004", "12:00:00", "2:00:00", "S12,5", "3", "2000",
                                                     "500", "5000000", "Modem", "Alpha - Abend.tel", "anna"});
    const auto window = open();
    window->comZeitraum->setCurrentIndex(0);
    window->Check4->setChecked(true);
    EXPECT_TRUE(HasColor(window->IDPreview, QColor(120, 200, 0)));
    EXPECT_TRUE(HasColor(window->IDPreview, QColor(200, 0, 120)));
    window->Option5->setChecked(true); // "Monochrom"
    EXPECT_FALSE(HasColor(window->IDPreview, QColor(120, 200, 0)));
    EXPECT_FALSE(HasColor(window->IDPreview, QColor(200, 0, 120)));
    EXPECT_TRUE(HasColor(window->IDPreview, QColor(128, 128, 128)));
}

TEST_F(PrintingTest, ALongListBreaksIntoPagesOnThePrinter)
{
    for (int r = 1; r <= 110; ++r)
        list.rows << QStringList{"", "05.01.2004", "10:00:00", "0:10:00", "1,00", "1", "0", "0", "1000", "Modem",
                                 "Alpha - Abend", "anna"};
    const auto window = open();
    window->Check1->setChecked(false);
    window->Combo1->setCurrentIndex(2);
    window->Drucken();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const QByteArray pdf = readFile("PDF.pdf");
    // rows 1-48 on page one, 49-101 on page two, the rest on page three
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 3) << pdf.count("/Type /Page");
}

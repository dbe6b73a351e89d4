#include "core/ui/CupsPrinters.h"
#include "core/ui/PrinterDialogs.h"
#include "support/ui/SimWindowPlatform.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QLabel>
#include <QPrinterInfo>
#include <QWidget>

namespace {
class PrinterDialogsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        sim.printers.installed = {"Laser 1"};
        sim.printers.outputFolder = dir.path();
        SetPrinterSettingsDialog([this](QPrinter& printer, QWidget* owner) { shown.append({&printer, owner}); });
    }
    void TearDown() override
    {
        SetPrinterSettingsDialog(nullptr);
        ProgramTest::TearDown();
    }
    SimWindowPlatform sim;
    QList<std::pair<QPrinter*, QWidget*>> shown;
};
} // namespace

TEST_F(PrinterDialogsTest, SettingsOpenOnAnInstalledPrinterOnly)
{
    QWidget owner;
    ShowPrinterProperties(&owner, "Laser 2");
    ShowPrinterProperties(&owner, ""); // no default printer
    EXPECT_EQ(dialogs.texts(), QStringList({"Unable To open Laser 2 printer", "Unable To open default printer"}));
    for (const MessageRequest& m : dialogs.messages) EXPECT_EQ(m.style, vbOKOnly);
    EXPECT_TRUE(shown.isEmpty());

    sim.printers.systemDefault = "Laser 1";
    ShowPrinterProperties(&owner, "");
    ShowPrinterProperties(&owner, "Laser 1");
    ASSERT_EQ(shown.size(), 2);
    // one printer object per name, so that the print run uses what the dialog set
    EXPECT_EQ(shown[0].first, sim.printers.printers.at("Laser 1").get());
    EXPECT_EQ(shown[1].first, shown[0].first);
    EXPECT_EQ(shown[1].second, &owner);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(PrinterDialogsTest, PreviewBitmapIsStretchedIntoTheBox)
{
    QImage page(794, 1115, QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int x = 0; x < 794; ++x) page.setPixel(x, 557, qRgb(0, 0, 0)); // a one-pixel line
    const QString file = path("page.bmp");
    ASSERT_TRUE(page.save(file, "BMP"));
    QLabel box;
    box.resize(251, 343);

    ShowPreviewBitmap(&box, file, 2); // other modes draw nothing
    ShowPreviewBitmap(&box, path("missing.bmp"), 1);
    EXPECT_TRUE(box.pixmap().isNull());

    ShowPreviewBitmap(&box, file, 0); // the loader's own scaling
    EXPECT_EQ(box.pixmap().size(), QSize(251, 343));
    // a picture of exactly the box's size is copied as it is
    const QString small = path("small.bmp");
    QImage exact(251, 343, QImage::Format_RGB32);
    exact.fill(qRgb(10, 20, 30));
    exact.setPixel(7, 9, qRgb(200, 0, 120));
    ASSERT_TRUE(exact.save(small, "BMP"));
    for (int mode : {0, 1}) {
        ShowPreviewBitmap(&box, small, mode);
        EXPECT_EQ(box.pixmap().toImage().convertToFormat(QImage::Format_RGB32), exact) << mode;
    }

    ShowPreviewBitmap(&box, file, 1);
    const QImage shownImage = box.pixmap().toImage();
    ASSERT_EQ(shownImage.size(), QSize(251, 343));
    // the line survives the shrinking as a grey trace
    EXPECT_LT(qGray(shownImage.pixel(125, 171)), 230);
    EXPECT_EQ(qGray(shownImage.pixel(125, 100)), 255);

    ShowPreviewBitmap(&box, path("missing.bmp"), 1); // keeps what it shows
    EXPECT_EQ(box.pixmap().toImage(), shownImage);
}

// The system's side: whatever CUPS offers here, an unknown name is no printer.
TEST(CupsPrinters, ListsTheSystemsPrintersAndRefusesUnknownNames)
{
    CupsPrinters printers;
    EXPECT_EQ(printers.names(), QPrinterInfo::availablePrinterNames());
    EXPECT_EQ(printers.printer("Zumbrel kein Drucker"), nullptr);
    EXPECT_EQ(printers.printer(""), nullptr);
    for (const QString& name : printers.names()) {
        QPrinter* printer = printers.printer(name);
        ASSERT_NE(printer, nullptr) << name.toStdString();
        EXPECT_EQ(printer->printerName(), name);
        EXPECT_EQ(printers.printer(name), printer);
    }
}

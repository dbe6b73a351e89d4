#include "core/ui/PrinterDialogs.h"

#include "core/Dialogs.h"
#include "core/ui/Printers.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPixmap>

namespace {
PrinterSettingsDialog& settingsDialog()
{
    static PrinterSettingsDialog dialog;
    return dialog;
}
} // namespace

void SetPrinterSettingsDialog(PrinterSettingsDialog dialog) { settingsDialog() = std::move(dialog); }

void ShowPrinterProperties(QWidget* owner, const QString& name)
{
    const QString printerName = name.isEmpty() ? ThePrinters().defaultName() : name;
    QPrinter* printer = printerName.isEmpty() ? nullptr : ThePrinters().printer(printerName);
    if (!printer) {
        MsgBox(printerName.isEmpty() ? QStringLiteral("Unable To open default printer")
                                     : QStringLiteral("Unable To open ") + printerName + QStringLiteral(" printer"),
               vbOKOnly);
        return;
    }
    if (settingsDialog()) {
        settingsDialog()(*printer, owner);
        return;
    }
    QPageSetupDialog dialog(printer, owner);
    dialog.exec();
}

namespace {
void showPicture(QLabel* box, QIODevice* bitmap, int mode)
{
    if (!box || (mode != 0 && mode != 1)) return;
    const QSize size(box->width(), box->height());
    QImageReader reader(bitmap);
    QImage picture;
    if (mode == 0) {
        // the loader scales, as plainly as it reads
        reader.setScaledSize(size);
        picture = reader.read();
    } else {
        // smooth, so that the page's one-pixel lines survive the shrinking
        picture = reader.read().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (picture.isNull()) return;
    box->setPixmap(QPixmap::fromImage(picture));
    box->repaint();
}
} // namespace

void ShowPreviewBitmap(QLabel* box, const QString& file, int mode)
{
    QFile bitmap(file);
    if (bitmap.open(QIODevice::ReadOnly)) showPicture(box, &bitmap, mode);
}

void ShowPreviewBitmap(QLabel* box, const QImage& page, int mode)
{
    // The page goes through the bitmap's bytes, so the box shows what a picture file of it would show.
    QBuffer bitmap;
    if (bitmap.open(QIODevice::ReadWrite) && page.save(&bitmap, "BMP") && bitmap.seek(0))
        showPicture(box, &bitmap, mode);
}

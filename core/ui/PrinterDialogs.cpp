#include "core/ui/PrinterDialogs.h"

#include "core/Dialogs.h"
#include "core/platform/Printers.h"

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

void ShowPreviewBitmap(QLabel* box, const QString& file, int mode)
{
    if (!box || (mode != 0 && mode != 1)) return;
    const QSize size(box->width(), box->height());
    QImage picture;
    if (mode == 0) {
        // the loader scales, as plainly as it reads
        QImageReader reader(file);
        reader.setScaledSize(size);
        picture = reader.read();
    } else {
        // smooth, so that the page's one-pixel lines survive the shrinking
        picture = QImage(file).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (picture.isNull()) return;
    box->setPixmap(QPixmap::fromImage(picture));
    box->repaint();
}

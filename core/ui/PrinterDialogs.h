#pragma once
// The print window's two services that talk to the system: a printer's own settings and the page
// picture shrunk into the preview box.
#include <QString>

#include <functional>

class QImage;
class QLabel;
class QPrinter;
class QWidget;

// Opens the settings dialog of the named printer (the default printer for an empty name), or says that
// no installed printer has that name.
void ShowPrinterProperties(QWidget* owner, const QString& name);

// How the settings dialog is shown; tests put in one that does not block. An empty function restores
// the page set-up dialog.
using PrinterSettingsDialog = std::function<void(QPrinter& printer, QWidget* owner)>;
void SetPrinterSettingsDialog(PrinterSettingsDialog dialog);

// Shows the picture file in the box: mode 0 has the loader scale it to the box, mode 1 stretches it
// smoothly; other modes, or a file that cannot be loaded, leave the box as it is.
void ShowPreviewBitmap(QLabel* box, const QString& file, int mode);
// The same for a picture drawn in memory: the preview needs no file.
void ShowPreviewBitmap(QLabel* box, const QImage& page, int mode);

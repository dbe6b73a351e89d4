#include "core/ui/CupsPrinters.h"

#include <QCoreApplication>
#include <QPrinterInfo>

namespace {
CupsPrinters* s_instance = nullptr;
}

CupsPrinters::CupsPrinters() { s_instance = this; }

CupsPrinters::~CupsPrinters()
{
    if (s_instance == this) s_instance = nullptr;
}

// A printer's print engine needs the application; the program's static instance outlives it.
void CupsPrinters::releaseAll()
{
    if (s_instance) s_instance->m_printers.clear();
}

QStringList CupsPrinters::names() { return QPrinterInfo::availablePrinterNames(); }

QString CupsPrinters::defaultName() { return QPrinterInfo::defaultPrinterName(); }

QPrinter* CupsPrinters::printer(const QString& name)
{
    // setPrinterName would keep the old printer for an unknown name: only a known one is made
    if (name.isEmpty()) return nullptr;
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return nullptr;
    std::unique_ptr<QPrinter>& slot = m_printers[name];
    if (!slot) {
        static const bool releasing = (qAddPostRoutine(releaseAll), true);
        Q_UNUSED(releasing);
        slot = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    return slot.get();
}

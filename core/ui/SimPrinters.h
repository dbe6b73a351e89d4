#pragma once
#include "core/ui/Printers.h"

#include <QMarginsF>
#include <QPrinter>

#include <map>
#include <memory>

// Scripted printers that write PDF files `<outputFolder>/<name>.pdf`; the printer objects keep the job
// settings a run made. A name in `gone` is listed but can no longer be had.
class SimPrinters : public Printers {
public:
    QStringList names() override { return installed; }
    QString defaultName() override { return systemDefault; }
    QPrinter* printer(const QString& name) override
    {
        requested << name;
        if (!installed.contains(name) || gone.contains(name)) return nullptr;
        std::unique_ptr<QPrinter>& slot = printers[name];
        if (!slot) {
            slot = std::make_unique<QPrinter>(QPrinter::HighResolution);
            slot->setOutputFormat(QPrinter::PdfFormat);
            slot->setOutputFileName(outputFolder + QLatin1Char('/') + name + QStringLiteral(".pdf"));
            slot->setPageMargins(margins, QPageLayout::Millimeter);
        }
        return slot.get();
    }

    QStringList installed;
    QString systemDefault;
    QStringList gone;
    QMarginsF margins{5, 5, 5, 5}; // millimetres
    QString outputFolder;
    QStringList requested; // every name asked for, in order
    std::map<QString, std::unique_ptr<QPrinter>> printers;
};

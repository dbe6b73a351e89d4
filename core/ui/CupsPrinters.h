#pragma once
#include "core/ui/Printers.h"

#include <QPrinter>

#include <map>
#include <memory>

// The printers CUPS offers, through Qt's print support.
class CupsPrinters : public Printers {
public:
    CupsPrinters();
    ~CupsPrinters() override;
    QStringList names() override;
    QString defaultName() override;
    QPrinter* printer(const QString& name) override;

private:
    static void releaseAll();
    std::map<QString, std::unique_ptr<QPrinter>> m_printers;
};

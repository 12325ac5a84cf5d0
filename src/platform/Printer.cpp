#include "platform/Printer.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

QPrinter& Printer()
{
    static QPrinter* printer = [] {
        auto* made = new QPrinter(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinters().isEmpty())
            made->setPageSize(QPageSize(QPageSize::A4));
        return made;
    }();
    return *printer;
}

bool PrinterAvailable()
{
    return !PrinterDeviceName().isEmpty() && Printer().isValid();
}

QString PrinterDeviceName()
{
    const QPrinter& printer = Printer();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName();
    return printer.printerName();
}

} // namespace platform

#include "platform/PrinterDialog.h"
#include "platform/WindowLayer.h"
#include "platform/Yield.h"

#include <QPrintDialog>
#include <QPrinter>

namespace platform {
namespace {

PrinterAnswerer& Answerer()
{
    static PrinterAnswerer answerer;
    return answerer;
}

} // namespace

bool ChoosePrinter(QWidget* owner, QPrinter& printer, bool selection)
{
    if (Answerer()) {
        return Answerer()(printer);
    }
    QPrintDialog dialog(&printer, owner);
    ShowAbovePinnedWindows(dialog);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
    if (selection) {
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
    }
    const ModalLoop modal;
    return dialog.exec() == QDialog::Accepted;
}

void SetPrinterAnswerer(PrinterAnswerer answerer)
{
    Answerer() = std::move(answerer);
}

} // namespace platform

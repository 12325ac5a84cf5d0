#pragma once
// The printer dialog. Tests install an answerer that sets the printer up (for
// instance to write a PDF file) in place of the dialog.
#include <functional>

class QPrinter;
class QWidget;

namespace platform {

// Shows the printer dialog for printer; false when it was cancelled.
// selection offers printing the selected text only.
bool ChoosePrinter(QWidget* owner, QPrinter& printer, bool selection);

using PrinterAnswerer = std::function<bool(QPrinter&)>;
// Installs (or, with an empty function, removes) the answerer.
void SetPrinterAnswerer(PrinterAnswerer answerer);

} // namespace platform

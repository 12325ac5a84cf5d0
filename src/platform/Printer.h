#pragma once
// The program's printer: one printer object for the whole run, as the
// platform's printer is. The printer the user chose and its orientation stay
// in force after the window that set them closes. Without a printer on the
// machine its page is A4, so a page can still be laid out.
#include <QString>

class QPrinter;

namespace platform {

// Created on first use, for the printer's own resolution.
QPrinter& Printer();

// True when there is something to print on: a printer, or output that goes
// to a file.
bool PrinterAvailable();

// The printer's name, the output file's path when printing goes to a file,
// or the empty text when there is no printer.
QString PrinterDeviceName();

} // namespace platform

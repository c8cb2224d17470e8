// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class Printout;
class QPrinter;
class QWidget;

// Printing from the windows: a printout is made, then printed where the user chooses in the
// system's print dialog, on a printer or into a PDF file.
namespace Printing {

// Makes the printout and prints it. A PDF file is written whole or not at all; a printout that
// cannot be made or written is reported in the standard error box, naming the file at fault.
// False when nothing was printed.
bool print(QWidget* parent, const std::function<Printout()>& make);

// Tests choose the printer instead of the modal print dialog: the chooser gets the printer set up
// for the printout (its document name is the printout's title) and says whether to print.
using PrinterChooser = std::function<bool(QPrinter& printer)>;
void setPrinterChooser(PrinterChooser chooser);

} // namespace Printing

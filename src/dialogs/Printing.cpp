// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Printing.h"

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "print/PdfFile.h"
#include "print/Printout.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

Printing::PrinterChooser& chooser()
{
    static Printing::PrinterChooser instance;
    return instance;
}

bool choosePrinter(QWidget* parent, QPrinter& printer)
{
    if (chooser())
        return chooser()(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

void Printing::setPrinterChooser(PrinterChooser c)
{
    chooser() = std::move(c);
}

bool Printing::print(QWidget* parent, const std::function<Printout()>& make)
{
    try {
        const Printout printout = make();
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(printout.documentTitle());
        printer.setPageSize(PdfFile::defaultPaper());
        if (!choosePrinter(parent, printer))
            return false;
        // "Print to file" is written like the command line writes it: whole, or not at all
        if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
            PdfFile::write(printout, printer.outputFileName(), printer.pageLayout().pageSize());
        else
            printout.paint(printer);
        return true;
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return false;
    }
}

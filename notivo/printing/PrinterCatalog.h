#pragma once
#include <QList>
#include <QString>

namespace notivo {

// One printer the print dialog offers.  The list item is the printer's two
// identifying texts joined by one blank.
struct PrinterEntry {
    QString deviceName; // the name the platform prints to
    QString driverName; // make and model, or what else tells the printer apart
    bool pdfFile = false; // the built-in printer that writes a PDF file

    QString itemText() const { return deviceName + QLatin1Char(' ') + driverName; }
};

// The built-in PDF file printer, offered after the installed printers (and
// alone when none is installed, so printing is never a dead end).
PrinterEntry pdfFilePrinter();

// The file the PDF file printer writes for a name the user chose: ".pdf"
// is added to a name without a suffix; an empty name stays empty (cancelled).
QString pdfFileName(const QString& chosen);

// The installed printers in the platform's order, then the PDF file printer.
QList<PrinterEntry> availablePrinterEntries();

} // namespace notivo

#include "notivo/printing/PrinterCatalog.h"

#include <QFileInfo>
#include <QPrinterInfo>

namespace notivo {

PrinterEntry pdfFilePrinter()
{
    return {QStringLiteral("PDF"), QStringLiteral("file"), true};
}

QString pdfFileName(const QString& chosen)
{
    if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + QStringLiteral(".pdf");
}

QList<PrinterEntry> availablePrinterEntries()
{
    QList<PrinterEntry> entries;
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : printers) {
        // The driver tells two queues of one name apart best; printers that
        // do not report one are told by their description or location.
        QString second = info.makeAndModel();
        if (second.isEmpty())
            second = info.description();
        if (second.isEmpty())
            second = info.location();
        entries.append({info.printerName(), second, false});
    }
    entries.append(pdfFilePrinter());
    return entries;
}

} // namespace notivo

#include "notivo/printing/CurrentPrinter.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPrinter>

namespace notivo {
namespace {

std::unique_ptr<CurrentPrinter>& sharedInstance()
{
    static std::unique_ptr<CurrentPrinter> instance;
    return instance;
}

// Print engines may talk to the print system when they go, so the printer
// goes with the application rather than at static destruction.
void releaseShared() { sharedInstance().reset(); }

} // namespace

CurrentPrinter& CurrentPrinter::shared()
{
    auto& instance = sharedInstance();
    if (!instance) {
        instance = std::make_unique<CurrentPrinter>();
        qAddPostRoutine(releaseShared);
    }
    return *instance;
}

CurrentPrinter::CurrentPrinter()
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , entry_(pdfFilePrinter())
{
    printer_->setOutputFormat(QPrinter::PdfFormat);
}

CurrentPrinter::~CurrentPrinter() = default;

void CurrentPrinter::choose(const PrinterEntry& entry)
{
    entry_ = entry;
    // A file name left from an earlier PDF job would divert a real printer's
    // job into that file.
    printer_->setOutputFileName(QString());
    if (entry.pdfFile)
        printer_->setOutputFormat(QPrinter::PdfFormat);
    else
        printer_->setPrinterName(entry.deviceName);
}

int CurrentPrinter::orientation() const
{
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? Landscape : Portrait;
}

void CurrentPrinter::setOrientation(int code)
{
    if (code == Portrait)
        printer_->setPageOrientation(QPageLayout::Portrait);
    else if (code == Landscape)
        printer_->setPageOrientation(QPageLayout::Landscape);
}

} // namespace notivo

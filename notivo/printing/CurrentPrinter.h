#pragma once
#include "notivo/printing/PrinterCatalog.h"

#include <memory>

class QPrinter;

namespace notivo {

// The program-wide printer: what the print dialog chooses stays chosen until
// the program ends.  Orientation codes are those the dialog speaks:
// 1 portrait, 2 landscape.
class CurrentPrinter {
public:
    static constexpr int Portrait = 1;
    static constexpr int Landscape = 2;

    static CurrentPrinter& shared();

    // Makes `entry` the printer that jobs go to; its own settings (such as
    // its orientation) come with it.
    void choose(const PrinterEntry& entry);
    const PrinterEntry& entry() const { return entry_; }

    int orientation() const;
    void setOrientation(int code); // codes other than 1 and 2 change nothing

    QPrinter& printer() { return *printer_; }

    CurrentPrinter();
    ~CurrentPrinter();
    CurrentPrinter(const CurrentPrinter&) = delete;
    CurrentPrinter& operator=(const CurrentPrinter&) = delete;

private:
    std::unique_ptr<QPrinter> printer_;
    PrinterEntry entry_;
};

} // namespace notivo

// mosaiko-report's printing: the report sent through the system's printing
// service (CUPS, through Qt's printer support) instead of into a PDF.
#pragma once

#include <QPrinterInfo>
#include <ostream>
#include <string>

namespace mosaiko {

class TQuickRep;

struct PrintOutcome {
    bool ok = false;
    std::string printer;  // the printer used
    std::string error;    // UTF-8, naming the printer and the reason
};

// The printer `name`, or the default printer when the name is empty; null
// with `error` set when there is none, so nothing is done in vain.
QPrinterInfo FindPrinter(const std::string& name, std::string& error);

// Generates the report once onto the printer. The job is named after the
// report's title.
PrintOutcome PrintReport(TQuickRep& report, const QPrinterInfo& info);

// How long the printing service has to answer before it counts as unreachable.
inline constexpr int kCupsTimeoutSeconds = 10;

// Empty when the printing service answers; else why not, in UTF-8.
std::string PrintingServiceProblem();

// One printer name a line on `out`; a note on `err` when there is none.
// False, with the reason on `err`, when the printing service cannot be reached.
bool ListPrinters(std::ostream& out, std::ostream& err);

}  // namespace mosaiko

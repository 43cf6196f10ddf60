#include "ReportPrinter.h"

#include <QPrinter>

#include "CupsReach.h"
#include "QuickRep.h"

namespace mosaiko {

QPrinterInfo FindPrinter(const std::string& name, std::string& error) {
    const QPrinterInfo info =
        name.empty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull())
        error = name.empty() ? "既定のプリンターが設定されていません（--print NAME で指定してください）"
                             : "プリンター " + name + " が見つかりません";
    return info;
}

PrintOutcome PrintReport(TQuickRep& report, const QPrinterInfo& info) {
    PrintOutcome outcome;
    outcome.printer = info.printerName().toStdString();
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
    if (!printer.isValid() || !report.Print(printer)) {
        outcome.error = "プリンター " + outcome.printer + " に印刷できません: " + report.LastError().toStdString();
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

std::string PrintingServiceProblem() {
    return CupsUnreachable(ConfiguredCupsServer(), std::chrono::seconds(kCupsTimeoutSeconds));
}

bool ListPrinters(std::ostream& out, std::ostream& err) {
    if (const std::string problem = PrintingServiceProblem(); !problem.empty()) {
        err << "mosaiko-report: " << problem << "\n";
        return false;
    }
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) err << "mosaiko-report: プリンターがありません\n";
    for (const QString& name : names) out << name.toStdString() << "\n";
    return true;
}

}  // namespace mosaiko

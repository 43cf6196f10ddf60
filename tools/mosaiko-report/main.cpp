// mosaiko-report: the import, the generation check and the report of the
// desktop program, without a window, written to a PDF file or printed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "CheckMessages.h"
#include "CliCommon.h"
#include "Font.h"
#include "GenerationCheck.h"
#include "Import.h"
#include "FileImport.h"
#include "PrintAdvice.h"
#include "QRCode3.h"
#include "QRHost.h"
#include "QR_QR.h"
#include "ReportOptions.h"
#include "ReportPrinter.h"
#include "ShiftJis.h"

using namespace mosaiko;
using mosaiko::cli::ReportOptions;

namespace {

using cli::kExitFailed;

int Usage(const std::string& message) { return cli::Usage("mosaiko-report", message); }

std::string Utf8(std::string_view shiftJis) { return DecodeShiftJis(shiftJis).toStdString(); }

// The counts are for the user; with the PDF on standard output they go to
// standard error.
std::ostream& Counts(const ReportOptions& o) { return o.output == "-" ? std::cerr : std::cout; }

// A run whose counts could not be written has not told the user its result.
int Finish(int status) {
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "mosaiko-report: cannot write standard output\n";
    return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    ReportOptions options;
    if (const auto error = cli::ParseReportOptions(argc, argv, options)) return Usage(*error);
    if (options.help) {
        std::cout << cli::kReportHelp;
        return 0;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    if (options.listPrinters) {
        ListPrinters(std::cout, std::cerr);
        return Finish(0);
    }
    QPrinterInfo printer;
    if (options.print) {
        std::string error;
        printer = FindPrinter(options.printer, error);
        if (printer.isNull()) {
            std::cerr << "mosaiko-report: " << error << "\n";
            return kExitFailed;
        }
    }

    MemoLines memo;
    const ImportResult imported = ImportFile(QString::fromLocal8Bit(options.file.c_str()), memo, {}, options.encoding);
    if (imported.outcome == ImportOutcome::ReadError || imported.outcome == ImportOutcome::UnusableData) {
        std::cerr << "mosaiko-report: " << options.file << ": " << Utf8(ImportMessage(imported.outcome)) << "\n";
        if (!imported.detail.empty()) std::cerr << "mosaiko-report: " << imported.detail << "\n";
        return kExitFailed;
    }
    if (imported.encoding == TextEncoding::Utf8)
        std::cerr << "mosaiko-report: " << options.file << ": UTF-8 として読み込み、Shift-JIS に変換しました\n";
    std::ostream& counts = Counts(options);
    counts << "lines: " << imported.lineCount << "\ngroups: " << imported.groupCount << "\n";

    TQRHost qrHost;
    TQRCode& qr = *qrHost.QRCode1;
    const QSize host = qrHost.QRBase->size();
    const RowTextFit rows(options.fontSize, options.perPage);
    const CheckOutcome check = RunGenerationCheck(memo, qr, host, options.version, options.size - 1, {}, &rows);
    counts << "capacity: " << check.capacity << "\nresult: " << (check.Passed() ? kVerdictNormal : kVerdictAbnormal)
           << "\n";
    const ModuleAdvice advice = AdviseModule(options.version, options.size, options.perPage, ImageSideFor);
    std::cerr << "mosaiko-report: " << AdviceText(advice) << "\n";
    if (const std::string overflow = OverflowText(check); !overflow.empty())
        std::cerr << "mosaiko-report: " << overflow << "\n";
    if (!check.Passed()) {
        std::cerr << "mosaiko-report: " << options.file << ": " << FailureText(check, qr.Version(), qr.Pxmag()) << "\n";
        counts << "failed groups:";
        for (const GroupFailure& f : check.failures) counts << ' ' << f.group;
        counts << "\n";
        return Finish(kExitFailed);
    }

    const std::string title = EncodeShiftJis(QString::fromUtf8(options.title));
    TQuickReport1 form(ReportSource{&memo, &qr, [&] { return options.version; }, [&] { return options.size - 1; },
                                    [&] { return title; }, {}});
    form.LastLine = static_cast<int>(memo.Count()) - 1;
    form.Arrange(options.fontSize, options.perPage);
    if (options.print) {
        const PrintOutcome printed = PrintReport(form, printer);
        if (!printed.ok) {
            std::cerr << "mosaiko-report: " << printed.error << "\n";
            return Finish(kExitFailed);
        }
        counts << "printer: " << printed.printer << "\npages: " << form.PageCount() << "\n";
        return Finish(0);
    }
    if (!form.ExportToPdf(QString::fromLocal8Bit(options.output.c_str()))) {
        const std::string name = options.output == "-" ? "standard output" : options.output;
        std::cerr << "mosaiko-report: cannot write " << name << ": " << form.LastError().toStdString() << "\n";
        return Finish(kExitFailed);
    }
    counts << "pages: " << form.PageCount() << "\n";
    return Finish(0);
}

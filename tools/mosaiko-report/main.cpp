// mosaiko-report: the import, the generation check and the report of the
// desktop program, without a window, written to a PDF file or printed.
#include <QGuiApplication>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "AtomicFile.h"
#include "CliCommon.h"
#include "FileImport.h"
#include "Font.h"
#include "Import.h"
#include "ReportForm.h"
#include "ReportJob.h"
#include "ReportOptions.h"
#include "ReportPrinter.h"
#include "ShiftJis.h"
#include "SymbolEncoder.h"

using namespace mosaiko;
using mosaiko::cli::ReportOptions;

namespace {

using cli::kExitFailed;

int Usage(const std::string& message) { return cli::Usage("mosaiko-report", message); }

std::string Utf8(std::string_view shiftJis) { return DecodeShiftJis(shiftJis).toStdString(); }

// The counts are for the user; with the PDF on standard output they go to
// standard error.
std::ostream& Counts(const ReportOptions& o) { return o.output == "-" ? std::cerr : std::cout; }

// Says what the check found: the capacity and the verdict, the advice, and
// for a failed check which groups failed and why. False when it failed.
bool Tell(std::ostream& counts, const std::string& file, const CheckResult& check) {
    counts << "capacity: " << check.outcome.capacity
           << "\nresult: " << (check.Passed() ? kVerdictNormal : kVerdictAbnormal) << "\n";
    std::cerr << "mosaiko-report: " << check.adviceText << "\n";
    if (!check.overflowText.empty()) std::cerr << "mosaiko-report: " << check.overflowText << "\n";
    if (check.Passed()) return true;
    std::cerr << "mosaiko-report: " << file << ": " << check.failureText << "\n";
    counts << "failed groups:";
    for (const GroupFailure& f : check.outcome.failures) counts << ' ' << f.group;
    counts << "\n";
    return false;
}

// A run whose counts could not be written has not told the user its result.
int Finish(int status) {
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "mosaiko-report: cannot write standard output\n";
    return kExitFailed;
}

// The PDF writer takes two 16 MB buffers to compress each page; glibc would
// map and unmap them for every page, and keeps giving the top of the heap
// back, so the next page faults it all in again.
void KeepFreedHeap() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_TOP_PAD, 1 << 20);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    KeepFreedHeap();
    ReportOptions options;
    if (const auto error = cli::ParseReportOptions(argc, argv, options)) return Usage(*error);
    if (options.help) {
        std::cout << cli::ReportHelp();
        return 0;
    }
    if (options.programVersion) {
        std::cout << cli::VersionText("mosaiko-report") << "\n";
        return 0;
    }
    // Refused before any work: the report would replace the data it is made of.
    if (!options.print && AtomicFile::SameFile(options.file, options.output))
        return Usage("-o " + options.output + ": 出力ファイルが入力ファイルと同じです (" + options.file + ")");
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    if (options.listPrinters) {
        return Finish(ListPrinters(std::cout, std::cerr) ? 0 : kExitFailed);
    }
    QPrinterInfo printer;
    if (options.print) {
        std::string error = PrintingServiceProblem();
        if (error.empty()) printer = FindPrinter(options.printer, error);
        if (printer.isNull()) {
            std::cerr << "mosaiko-report: " << error << "\n";
            return kExitFailed;
        }
    }

    MemoLines memo;
    const ImportResult imported = ImportFile(QString::fromLocal8Bit(options.file.c_str()), memo, {}, options.encoding,
                                             options.settings.csv);
    if (imported.outcome == ImportOutcome::ReadError || imported.outcome == ImportOutcome::UnusableData) {
        std::cerr << "mosaiko-report: " << options.file << ": " << Utf8(ImportMessage(imported.outcome)) << "\n";
        if (!imported.detail.empty()) std::cerr << "mosaiko-report: " << imported.detail << "\n";
        return kExitFailed;
    }
    if (imported.encoding != TextEncoding::ShiftJis)
        std::cerr << "mosaiko-report: " << options.file << ": " << EncodingName(imported.encoding)
                  << " として読み込み、Shift-JIS に変換しました\n";
    if (const std::string none = NoDataLinesWarning(imported); !none.empty())
        std::cerr << "mosaiko-report: " << options.file << ": " << none << "\n";
    if (const std::string cut = CutLinesWarning(imported); !cut.empty())
        std::cerr << "mosaiko-report: " << options.file << ": " << cut << "\n";
    if (const std::string leftOut = LeftOutLinesWarning(imported); !leftOut.empty())
        std::cerr << "mosaiko-report: " << options.file << ": " << leftOut << "\n";
    std::ostream& counts = Counts(options);
    counts << "lines: " << imported.lineCount << "\ngroups: " << imported.groupCount << "\n";

    SymbolEncoder symbols;
    const ReportJob job(memo, symbols);
    const CheckResult check = job.Check(options.settings);
    if (!Tell(counts, options.file, check)) return Finish(kExitFailed);
    const std::unique_ptr<TQuickReport1> form = job.Form(options.settings);
    if (options.print) {
        const PrintOutcome printed = PrintReport(*form, printer);
        if (!printed.ok) {
            std::cerr << "mosaiko-report: " << printed.error << "\n";
            return Finish(kExitFailed);
        }
        counts << "printer: " << printed.printer << "\npages: " << form->PageCount() << "\n";
        return Finish(0);
    }
    if (!form->ExportToPdf(QString::fromLocal8Bit(options.output.c_str()))) {
        const std::string name = options.output == "-" ? "standard output" : options.output;
        std::cerr << "mosaiko-report: cannot write " << name << ": " << form->LastError().toStdString() << "\n";
        return Finish(kExitFailed);
    }
    counts << "pages: " << form->PageCount() << "\n";
    return Finish(0);
}

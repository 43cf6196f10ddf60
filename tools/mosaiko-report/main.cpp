// mosaiko-report: the import, the generation check and the report of the
// desktop program, without a window, written to a PDF file.
#include <QApplication>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "CheckMessages.h"
#include "Font.h"
#include "GenerationCheck.h"
#include "Import.h"
#include "FileImport.h"
#include "PrintAdvice.h"
#include "QRCode3.h"
#include "QRHost.h"
#include "QR_QR.h"
#include "ShiftJis.h"

using namespace mosaiko;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Options {
    std::string file;
    std::string output;
    int version = 20;
    int size = 1;
    std::string title = "ＱＲコードリスト";
    int perPage = 8;
    int fontSize = 10;
    EncodingChoice encoding = EncodingChoice::Auto;
};

const char kHelp[] =
    "Usage: mosaiko-report FILE -o REPORT.pdf [options]\n"
    "Imports FILE (Shift-JIS or UTF-8 text or CSV), checks that every group fits a QR code\n"
    "and writes the A4 report as a PDF.\n"
    "\n"
    "  -o FILE          the PDF to write (required; - for standard output, and\n"
    "                   the counts go to standard error)\n"
    "  --version N      symbol version 1-40 (default 20)\n"
    "  --size N         pixels per module 1-4 (default 1)\n"
    "  --title TEXT     report title (default ＱＲコードリスト)\n"
    "  --per-page N     groups per page 1-20 (default 8)\n"
    "  --font-size N    point size of the group text 6-60 (default 10)\n"
    "  --encoding E     auto, sjis or utf-8 (default auto: UTF-8 files are\n"
    "                   recognised and converted to Shift-JIS)\n"
    "\n"
    "Exit status: 0 report written; 1 the import failed, a group does not fit\n"
    "(no PDF is written) or the PDF could not be written; 2 usage error.\n";

int Usage(const std::string& message) {
    std::cerr << "mosaiko-report: " << message << "\nTry 'mosaiko-report --help'.\n";
    return kExitUsage;
}

bool ParseInt(const std::string& text, int low, int high, int& value) {
    int v = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size() || text.empty() || v < low || v > high) return false;
    value = v;
    return true;
}

// Parses argv; returns an error message, or nothing when the options are good.
std::optional<std::string> Parse(int argc, char** argv, Options& o, bool& help) {
    struct Ranged {
        const char* name;
        int* target;
        int low, high;
    };
    const Ranged ranged[] = {{"--version", &o.version, 1, 40},
                             {"--size", &o.size, 1, 4},
                             {"--per-page", &o.perPage, 1, 20},
                             {"--font-size", &o.fontSize, 6, 60}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            return std::nullopt;
        }
        if (arg.empty() || arg[0] != '-') {
            if (!o.file.empty()) return "more than one FILE given";
            o.file = arg;
            continue;
        }
        if (i + 1 >= argc) return "option " + arg + " needs a value";
        const std::string value = argv[++i];
        if (arg == "-o") {
            o.output = value;
        } else if (arg == "--encoding") {
            if (value == "auto") o.encoding = EncodingChoice::Auto;
            else if (value == "sjis") o.encoding = EncodingChoice::ShiftJis;
            else if (value == "utf-8") o.encoding = EncodingChoice::Utf8;
            else return "option --encoding: '" + value + "' is not auto, sjis or utf-8";
        } else if (arg == "--title") {
            o.title = value;
        } else {
            bool known = false;
            for (const Ranged& r : ranged) {
                if (arg != r.name) continue;
                known = true;
                if (!ParseInt(value, r.low, r.high, *r.target))
                    return "option " + arg + ": '" + value + "' is not from " + std::to_string(r.low) + " to " +
                           std::to_string(r.high);
            }
            if (!known) return "unknown option " + arg;
        }
    }
    if (o.file.empty()) return "no FILE given";
    if (o.output.empty()) return "no output file given (-o REPORT.pdf)";
    return std::nullopt;
}

std::string Utf8(std::string_view shiftJis) { return DecodeShiftJis(shiftJis).toStdString(); }

// The counts are for the user; with the PDF on standard output they go to
// standard error.
std::ostream& Counts(const Options& o) { return o.output == "-" ? std::cerr : std::cout; }

// A run whose counts could not be written has not told the user its result.
int Finish(int status) {
    std::cout.flush();
    if (std::cout) return status;
    std::cerr << "mosaiko-report: cannot write standard output\n";
    return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    bool help = false;
    if (const auto error = Parse(argc, argv, options, help)) return Usage(*error);
    if (help) {
        std::cout << kHelp;
        return 0;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    RegisterFontSubstitutes();

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
    if (!form.ExportToPdf(QString::fromLocal8Bit(options.output.c_str()))) {
        const std::string name = options.output == "-" ? "standard output" : options.output;
        std::cerr << "mosaiko-report: cannot write " << name << ": " << form.LastError().toStdString() << "\n";
        return Finish(kExitFailed);
    }
    counts << "pages: " << form.PageCount() << "\n";
    return Finish(0);
}

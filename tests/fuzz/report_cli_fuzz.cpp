// Fuzz target: mosaiko-report's command line. The input is the arguments and
// the bytes the program reads (CliFuzzInput.h). The options are parsed as the
// program parses them; with good ones FILE is imported as the program
// imports it, from a file or from standard input ("-"), and must give what
// the same bytes give read from memory. --help, the program version and
// --list-printers end the run there; no printer is looked for, nothing is
// written or printed.
#include <string>

#include "CliFuzzInput.h"
#include "FileImport.h"
#include "Import.h"
#include "ReportOptions.h"

using namespace mosaiko;
using namespace mosaiko::cli;
using mosaiko::fuzz::Check;

namespace {

// What a successful parse promises about the values.
void CheckParsed(const ReportOptions& o) {
    const ReportSettings& s = o.settings;
    Check(kVersionRange.Holds(s.version) && kSymbolSizeRange.Holds(s.symbolSize), "version or size out of range");
    Check(kGroupsPerPageRange.Holds(s.groupsPerPage) && kFontSizeRange.Holds(s.fontSize), "page or font out of range");
    Check(kLevelRange.Holds(s.level), "level out of range");
    Check(o.print || o.printer.empty(), "a printer named without --print");
    if (o.help || o.programVersion || o.listPrinters) return;
    Check(!o.file.empty(), "no FILE");
    Check(o.print == o.output.empty(), "not exactly one of -o and --print");
}

// FILE's bytes are the input's, whatever FILE was named.
ImportResult ImportAsProgram(const ReportOptions& o, const std::string& bytes, MemoLines& memo) {
    const auto import = [&](const std::string& path) {
        return ImportFile(QString::fromLocal8Bit(path.c_str()), memo, {}, o.encoding, o.settings.csv);
    };
    if (o.file == "-") return fuzz::WithStandardInput(bytes, [&] { return import("-"); });
    return import(fuzz::InputFile(bytes));
}

void CheckSameAsMemory(const ReportOptions& o, const std::string& bytes, const ImportResult& read,
                       const MemoLines& memo) {
    MemoLines again;
    const ImportResult expected = ImportBytes(bytes, again, LineReader::kDefaultChunk, o.encoding, o.settings.csv);
    Check(read.outcome == expected.outcome && read.encoding == expected.encoding, "outcome or encoding differ");
    Check(read.lineCount == expected.lineCount && read.groupCount == expected.groupCount, "counts differ");
    Check(read.firstCutLine == expected.firstCutLine && read.cutLines == expected.cutLines, "cut lines differ");
    Check(read.leftOut.keptLine == expected.leftOut.keptLine && read.leftOut.to == expected.leftOut.to,
          "left-out lines differ");
    Check(memo.Count() == again.Count() && memo.GroupCount() == again.GroupCount(), "the views differ in size");
    for (std::size_t i = 0; i < memo.Count(); ++i) Check(memo.Line(i) == again.Line(i), "the views differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::CliInput input = fuzz::SplitCliInput(data, size, "mosaiko-report");
    std::vector<char*> argv = input.Argv();
    ReportOptions options;
    if (const auto error = ParseReportOptions(static_cast<int>(argv.size()) - 1, argv.data(), options)) {
        Check(!error->empty(), "usage error without a message");
        return 0;
    }
    CheckParsed(options);
    if (options.help || options.programVersion || options.listPrinters) return 0;

    MemoLines memo;
    const ImportResult read = ImportAsProgram(options, input.bytes, memo);
    Check(read.outcome != ImportOutcome::ReadError && read.outcome != ImportOutcome::Cancelled, "the file was not read");
    CheckSameAsMemory(options, input.bytes, read, memo);
    const LeftOutLines& left = read.leftOut;
    Check(left.keptLine == 0 || (!options.settings.csv && left.from <= left.to && left.keptLines >= 1),
          "left-out lines reported wrongly");
    return 0;
}

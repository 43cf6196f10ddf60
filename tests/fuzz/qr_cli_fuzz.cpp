// Fuzz target: mosaiko-qr's command line. The input is the arguments and the
// bytes the program reads (CliFuzzInput.h). The options are parsed as the
// program parses them; good ones read the data from TEXT, a file or standard
// input, and make the PBM symbols. --help, the program version and the
// picture formats (another program's work) end the run there; nothing is
// written or printed.
#include <algorithm>
#include <memory>
#include <string>

#include "CliFuzzInput.h"
#include "QrDriver.h"
#include "QrFormats.h"
#include "QrOptions.h"
#include "QrPbm.h"
#include "QrRun.h"

using namespace mosaiko;
using namespace mosaiko::cli;
using mosaiko::fuzz::Check;

namespace {

// What a successful parse promises about the values.
void CheckParsed(const QrOptions& o) {
    Check(o.version >= 1 && o.version <= kMaxVersion, "version out of range");
    Check(o.level >= 0 && o.level <= 3, "level out of range");
    Check(o.emode >= -1 && o.emode <= 3 && (!o.optimal || o.emode == -1), "mode out of range");
    Check(o.mask >= -1 && o.mask <= 7, "mask out of range");
    Check(o.structure >= 0 && o.structure <= 2, "structure out of range");
    Check(o.count >= 1 && o.count <= kMaxPieces, "count out of range");
    Check(o.pxmag >= 1 && o.pxmag <= 10, "pxmag out of range");
    Check(!(o.text && !o.input.empty()), "both TEXT and --input taken");
}

// The data as the program reads it; the file and standard input hold the
// input's bytes whatever file was named.
std::string ReadData(QrOptions& options, const std::string& bytes) {
    std::string code;
    std::optional<int> status;
    if (options.text) {
        status = ReadCode(options, code);
    } else if (options.input.empty() || options.input == "-") {
        status = fuzz::WithStandardInput(bytes, [&] { return ReadCode(options, code); });
    } else {
        options.input = fuzz::InputFile(bytes);
        status = ReadCode(options, code);
    }
    Check(!status, "the data could not be read");
    Check(code == (options.text ? *options.text : bytes), "the data read differ from the input");
    return code;
}

// One "P1" header per symbol made.
int Images(const std::string& text) {
    int n = text.rfind("P1\n", 0) == 0 ? 1 : 0;
    for (std::size_t at = text.find("\nP1\n"); at != std::string::npos; at = text.find("\nP1\n", at + 1)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::CliInput input = fuzz::SplitCliInput(data, size, kProgram);
    std::vector<char*> argv = input.Argv();
    QrOptions options;
    UsageError error;
    if (!ParseOptions(static_cast<int>(argv.size()) - 1, argv.data(), options, error)) {
        Check(!error.message.empty(), "usage error without a message");
        return 0;
    }
    CheckParsed(options);
    if (options.help || options.programVersion) return 0;
    const std::optional<QrFormat> format = FindFormat(options.format);
    if (!format) {
        Check(UnknownFormatMessage(options.format).find(options.format) != std::string::npos, "format message");
        return 0;
    }
    if (IsPicture(*format) || !options.extra.empty()) return 0;

    std::string code = ReadData(options, input.bytes);
    // Small symbols and few of them, so that one run stays in milliseconds.
    options.version = std::min(options.version, 10);
    options.count = std::min(options.count, 8);
    auto driver = std::make_unique<QrDriver>();
    Configure(*driver, options, std::move(code));
    driver->SplitData();
    SettingsError settings;
    if (!driver->CheckSettings(settings)) {
        Check(!settings.Message().empty(), "settings refused without a message");
        return 0;
    }
    const std::vector<std::string>& pbm = driver->GetPBM();
    const bool complete = driver->Encoder().CurrentSymbol() > driver->Encoder().Count();
    const std::string text = *format == QrFormat::PbmText ? PbmText(pbm) : PbmImages(pbm);
    if (complete && *format == QrFormat::Pbm)
        Check(Images(text) == driver->Encoder().Count(), "not one image per symbol");
    Check(complete || !FailureMessage(*driver).empty(), "a failed run without a message");
    Check(!InfoText(*driver).empty(), "no --info text");
    return 0;
}

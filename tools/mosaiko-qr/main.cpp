// mosaiko-qr: QR Code symbols from the command line, as plain PBM text.
#include <iostream>
#include <memory>

#include "QrDriver.h"
#include "QrMetafile.h"
#include "QrOptions.h"
#include "QrPicture.h"
#include "QrRun.h"

using namespace mosaiko;
using namespace mosaiko::cli;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Usage(const std::string& message) {
    std::cerr << "mosaiko-qr: " << message << "\nTry 'mosaiko-qr --help'.\n";
    return kExitUsage;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text.append(line).push_back('\n');
    return text;
}

int Failed(const std::string& message) {
    std::cerr << "mosaiko-qr: " << message << "\n";
    return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    QrOptions options;
    UsageError error;
    if (!ParseOptions(argc, argv, options, error)) return Usage(error.message);
    if (options.help) {
        std::cout << HelpText() << PictureHelpText();
        return 0;
    }
    const bool picture = options.format == "png" || MetafileKind(options.format);
    if (!picture && options.format != "pbm")
        return Usage("option --format: '" + options.format + "' is not one of pbm, png, emf, wmf, svg");
    if (!picture && !options.extra.empty())
        return Usage("option " + options.extra.front().first + " applies to pictures only");

    std::string code;
    if (options.text) {
        if (options.text->size() > kMaxInputBytes) return Failed(TooLongText("TEXT"));
        code = *options.text;
    } else {
        std::string message;
        const ReadStatus read = ReadAllBytes(options.input, code, message);
        if (read == ReadStatus::TooLong) return Failed(message);
        if (read != ReadStatus::Read) return Usage(message);
    }

    if (picture) return RunPicture(options, std::move(code));

    auto driver = std::make_unique<QrDriver>();
    Configure(*driver, options, std::move(code));
    driver->SplitData();
    SettingsError settings;
    if (!driver->CheckSettings(settings)) {
        std::cerr << "mosaiko-qr: " << settings.Message() << "\n";
        return kExitFailed;
    }
    const std::vector<std::string>& pbm = driver->GetPBM();
    const bool complete = driver->Encoder().CurrentSymbol() > driver->Encoder().Count();
    // A file is written only for a complete run; standard output always
    // gets the text, which shows how far a failing run came.
    std::string message;
    if ((complete || WritesToStandardOutput(options)) && !WriteAllBytes(options.output, JoinLines(pbm), message))
        return Usage(message);
    if (options.info) std::cerr << InfoText(*driver);
    if (!complete) {
        std::cerr << "mosaiko-qr: " << FailureMessage(*driver) << "\n";
        return kExitFailed;
    }
    return 0;
}

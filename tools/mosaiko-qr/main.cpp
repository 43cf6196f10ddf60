// mosaiko-qr: QR Code symbols from the command line, as PBM images or the
// control's PBM text. The picture formats need Qt; they are painted by
// mosaiko-qr-picture beside this program, so that PBM loads no Qt library.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "CliCommon.h"
#include "QrDriver.h"
#include "QrPbm.h"
#include "QrRun.h"

using namespace mosaiko;
using namespace mosaiko::cli;

namespace {

// Hands the whole run, with the same arguments and standard input, to the
// picture program: beside this program in a build tree, in its own folder of
// the library-executable directory once installed.
int RunPictureProgram(char** argv) {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    std::string program = (folder / "mosaiko-qr-picture").string();
    if (::access(program.c_str(), X_OK) != 0) {
        const std::string installed = (folder / MOSAIKO_PICTURE_DIR / "mosaiko-qr-picture").lexically_normal().string();
        if (::access(installed.c_str(), X_OK) == 0) program = installed;
    }
    ::execv(program.c_str(), argv);
    return Failed("cannot run " + program + ": " + std::strerror(errno));
}

}  // namespace

int main(int argc, char** argv) {
    QrOptions options;
    QrFormat format = QrFormat::Pbm;
    if (const auto status = CheckOptions(argc, argv, options, format)) return *status;
    if (IsPicture(format)) return RunPictureProgram(argv);

    std::string code;
    if (const auto status = ReadCode(options, code)) return *status;
    auto driver = std::make_unique<QrDriver>();
    Configure(*driver, options, std::move(code));
    driver->SplitData();
    SettingsError settings;
    if (!driver->CheckSettings(settings)) return Failed(settings.Message());
    const std::vector<std::string>& pbm = driver->GetPBM();
    const bool complete = driver->Encoder().CurrentSymbol() > driver->Encoder().Count();
    // A file is written only for a complete run; standard output always
    // gets the text, which shows how far a failing run came.
    const auto produce = [&](const ChunkWrite& write) {
        return format == QrFormat::PbmText ? WritePbmText(pbm, write) : WritePbmImages(pbm, write);
    };
    std::string message;
    if ((complete || WritesToStandardOutput(options)) && !WriteStreamed(options.output, produce, message))
        return Usage(message);
    if (options.info) std::cerr << InfoText(*driver);
    if (!complete) return Failed(FailureMessage(*driver));
    return kExitOk;
}

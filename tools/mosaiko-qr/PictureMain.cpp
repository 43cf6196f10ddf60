// mosaiko-qr-picture: the picture formats of mosaiko-qr (png, emf, wmf, svg),
// painted by the QR code control's regeneration on a plain picture, with no
// widget. mosaiko-qr runs it with its own arguments.
#include "QrPicture.h"
#include "QrRun.h"

using namespace mosaiko::cli;

int main(int argc, char** argv) {
    QrOptions options;
    QrFormat format = QrFormat::Pbm;
    if (const auto status = CheckOptions(argc, argv, options, format)) return *status;
    if (!IsPicture(format)) return Usage("PBM text is made by mosaiko-qr itself");
    std::string code;
    if (const auto status = ReadCode(options, code)) return *status;
    return RunPicture(options, format, std::move(code));
}

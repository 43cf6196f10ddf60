// Command-line options of mosaiko-qr and how they become encoder settings.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mosaiko::cli {

struct QrOptions {
    int version = 1;
    int level = 0;       // L
    int emode = -1;      // auto
    bool optimal = false; // --mode optimal: automatic, the smallest encoding
    int mask = -1;       // auto
    int structure = 0;   // single
    int count = 1;
    bool binary = false;
    int pxmag = 1;
    std::string format = "pbm";
    std::string output;  // empty: standard output
    std::string input;   // empty: TEXT or standard input
    std::optional<std::string> text;
    bool info = false;
    bool help = false;
    bool programVersion = false;  // --version alone or -V
    // Options the picture formats add, kept as given for their own parser.
    std::vector<std::pair<std::string, std::string>> extra;
};

// A usage error, with the message to print.
struct UsageError {
    std::string message;
};

// Parses argv; on a usage error returns it in `error` and false.
bool ParseOptions(int argc, char** argv, QrOptions& options, UsageError& error);

// Names of the options that take a value and are handled outside the PBM path.
bool IsPictureOption(const std::string& name);

// The whole --help text, the picture options included.
std::string HelpText();

}  // namespace mosaiko::cli

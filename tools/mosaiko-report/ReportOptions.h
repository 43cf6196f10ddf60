// mosaiko-report's command line: `--opt value` and `--opt=value` alike.
#pragma once

#include <optional>
#include <string>

#include "Import.h"
#include "ReportSettings.h"

namespace mosaiko::cli {

struct ReportOptions {
    std::string file;
    std::string output;
    ReportSettings settings;  // --version, --size, --title, --per-page, --font-size, --level, --mode
    EncodingChoice encoding = EncodingChoice::Auto;
    bool print = false;       // --print: to a printer instead of a PDF
    std::string printer;      // its name; empty for the default printer
    bool listPrinters = false;
    bool help = false;
    bool programVersion = false;  // --version alone or -V
};

// The text of --help.
std::string ReportHelp();

// Parses argv; returns an error message, or nothing when the options are good.
std::optional<std::string> ParseReportOptions(int argc, char** argv, ReportOptions& o);

}  // namespace mosaiko::cli

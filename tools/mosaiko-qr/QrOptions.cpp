#include "QrOptions.h"

#include "CliCommon.h"
#include "QrEncoder.h"
#include "QrFormats.h"

namespace mosaiko::cli {
namespace {

// Looks a word up in a list; its index is the value.
bool ParseWord(const std::string& text, std::initializer_list<const char*> words, int& value) {
    int i = 0;
    for (const char* w : words) {
        if (text == w) {
            value = i;
            return true;
        }
        ++i;
    }
    return false;
}

bool RangeError(UsageError& error, const std::string& option, const std::string& value, const char* range) {
    error.message = "option " + option + ": '" + value + "' is not " + range;
    return false;
}

// Applies one option with its value.
bool ApplyValue(const std::string& name, const std::string& value, QrOptions& o, UsageError& error) {
    int n = 0;
    if (value.empty() && (name == "-o" || name == "--output" || name == "--input")) {
        error.message = "option " + name + ": an empty file name (- is standard " +
                        (name == "--input" ? "input)" : "output)");
        return false;
    }
    if (name == "--version") {
        if (!ParseInt(value, 1, 40, o.version)) return RangeError(error, name, value, "a version from 1 to 40");
    } else if (name == "--level") {
        if (!ParseWord(value, {"L", "M", "Q", "H"}, o.level)) return RangeError(error, name, value, "one of L, M, Q, H");
    } else if (name == "--mode") {
        if (!ParseWord(value, {"auto", "numeric", "alphanumeric", "byte", "kanji", "optimal"}, n))
            return RangeError(error, name, value, "one of auto, optimal, numeric, alphanumeric, byte, kanji");
        o.optimal = n == 5;  // the smallest encoding: automatic segmentation of fewest bits
        o.emode = o.optimal ? -1 : n - 1;
    } else if (name == "--mask") {
        if (value == "auto") o.mask = -1;
        else if (!ParseInt(value, 0, 7, o.mask)) return RangeError(error, name, value, "auto or a mask from 0 to 7");
    } else if (name == "--structure") {
        if (!ParseWord(value, {"single", "connect", "plus"}, o.structure))
            return RangeError(error, name, value, "one of single, connect, plus");
    } else if (name == "--count") {
        if (!ParseInt(value, 1, kMaxPieces, o.count)) return RangeError(error, name, value, "a count from 1 to 1024");
    } else if (name == "--pxmag") {
        if (!ParseInt(value, 1, 10, o.pxmag)) return RangeError(error, name, value, "a magnification from 1 to 10");
    } else if (name == "--format") {
        o.format = value;
    } else if (name == "-o" || name == "--output") {
        o.output = value;
    } else if (name == "--input") {
        o.input = value;
    } else if (IsPictureOption(name)) {
        o.extra.emplace_back(name, value);
    } else {
        error.message = "unknown option " + name;
        return false;
    }
    return true;
}

bool IsFlag(const std::string& name) {
    return name == "--binary" || name == "--info" || name == "--help" || name == "-h" || name == "--transparent";
}

}  // namespace

bool IsPictureOption(const std::string& name) {
    static const char* kNames[] = {"--angle",      "--fg",           "--bg",         "--comment-up",  "--comment-down",
                                   "--comment-up-loc", "--comment-down-loc", "--space-up", "--space-down",
                                   "--space-left", "--space-right", "--column",      "--numbering"};
    for (const char* n : kNames)
        if (name == n) return true;
    return false;
}

bool ParseOptions(int argc, char** argv, QrOptions& o, UsageError& error) {
    bool onlyText = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (onlyText || arg.empty() || arg[0] != '-' || arg == "-") {
            if (o.text) {
                error.message = "more than one TEXT given";
                return false;
            }
            o.text = arg;
            continue;
        }
        if (arg == "--") {
            onlyText = true;
            continue;
        }
        if (AsksProgramVersion(argc, argv, i)) {
            o.programVersion = true;
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        if (IsFlag(arg)) {
            if (hasValue) {
                error.message = "option " + arg + " takes no value";
                return false;
            }
            if (arg == "--binary") o.binary = true;
            else if (arg == "--info") o.info = true;
            else if (arg == "--transparent") o.extra.emplace_back(arg, "");
            else o.help = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error.message = "option " + arg + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!ApplyValue(arg, value, o, error)) return false;
    }
    if (o.text && !o.input.empty()) {
        error.message = "give either TEXT or --input FILE, not both";
        return false;
    }
    return true;
}

std::string HelpText() {
    return "Usage: mosaiko-qr [options] [--] [TEXT]\n"
           "Makes QR Code symbols of TEXT, or of all bytes of --input FILE or of standard input.\n"
           "Bytes pass unchanged (Shift-JIS text for Kanji).\n"
           "\n"
           "  --version N          symbol version 1-40 (default 1)\n"
           "  --version, -V        alone or before another option: print the program version\n"
           "  --level L|M|Q|H      error-correction level (default L)\n"
           "  --mode MODE          auto|optimal|numeric|alphanumeric|byte|kanji (default auto;\n"
           "                       optimal: the segmentation of fewest bits)\n"
           "  --mask auto|0-7      mask pattern (default auto)\n"
           "  --structure S        single|connect|plus (default single)\n"
           "  --count N            number of symbols 1-1024 (default 1)\n"
           "  --binary             read ~HH~ escapes (~~ is one tilde)\n"
           "  --pxmag N            pixels per module 1-10 (default 1)\n"
           "  --format F           " +
           PbmFormatNames(",\n                       ") + ",\n                       or a picture: " +
           PictureFormatNames(", ") +
           "\n"
           "  --input FILE         read the data from FILE\n"
           "  -o FILE              write to FILE (default standard output)\n"
           "  --info               print the encoding results to standard error\n"
           "  --help               show this text\n"
           "\n"
           "Exit status: 0 every symbol was made; 1 a symbol could not be made;\n"
           "2 usage error or unreadable input / unwritable output.\n"
           "\n"
           "With --format " +
           PictureFormatNames(" or ") +
           " the control paints the symbols into a picture\n"
           "that fits them (emf, wmf and svg record it as a metafile):\n"
           "  --angle 0|90|180|270     turn the picture clockwise (default 0; png only)\n"
           "  --fg #RRGGBB, --bg #RRGGBB  module and background colours (default black on white)\n"
           "  --transparent            leave the background out (transparent pixels; png only)\n"
           "  --comment-up TEXT        a line above each symbol, --comment-down TEXT below\n"
           "  --comment-up-loc left|center|right, --comment-down-loc ...  their alignment\n"
           "  --space-up N             pixels above each symbol 0-1000 (room for the comment);\n"
           "                           also --space-down, --space-left, --space-right\n"
           "  --column N               symbols per row 1-1024 (default 16)\n"
           "  --numbering none|head|tail|ifvoid  symbol numbers in the comments (default none)\n";
}

}  // namespace mosaiko::cli

#include "ReportOptions.h"

#include <QCommandLineParser>
#include <QStringList>

#include "CliCommon.h"

namespace mosaiko::cli {
namespace {

std::string Dashed(const QString& name) { return (name.size() == 1 ? "-" : "--") + name.toStdString(); }

struct Ranged {
    const char* name;
    int ReportSettings::*target;
    const SettingRange& range;
};
// --size is the symbol size in pixels per module, as ReportSettings holds it.
const Ranged kRanged[] = {{"version", &ReportSettings::version, kVersionRange},
                          {"size", &ReportSettings::symbolSize, kSymbolSizeRange},
                          {"per-page", &ReportSettings::groupsPerPage, kGroupsPerPageRange},
                          {"font-size", &ReportSettings::fontSize, kFontSizeRange}};
const char* const kValued[] = {"o", "title", "encoding", "level", "mode"};

// The parser's own message for a missing value names no option; ours does.
std::optional<std::string> MissingValue(const QStringList& args) {
    const QString& last = args.back();
    auto takesValue = [&](const char* name) { return last == QString::fromStdString(Dashed(name)); };
    for (const Ranged& r : kRanged)
        if (takesValue(r.name)) return "option " + last.toStdString() + " needs a value";
    for (const char* name : kValued)
        if (takesValue(name)) return "option " + last.toStdString() + " needs a value";
    return std::nullopt;
}

std::optional<std::string> ApplyValues(const QCommandLineParser& parser, ReportOptions& o) {
    for (const Ranged& r : kRanged) {
        if (!parser.isSet(r.name)) continue;
        const std::string value = parser.value(r.name).toStdString();
        if (!ParseInt(value, r.range.low, r.range.high, o.settings.*r.target))
            return "option " + Dashed(r.name) + ": '" + value + "' is not from " + std::to_string(r.range.low) +
                   " to " + std::to_string(r.range.high);
    }
    if (parser.isSet("o")) o.output = parser.value("o").toStdString();
    if (parser.isSet("title")) o.settings.title = parser.value("title").toStdString();
    if (parser.isSet("encoding")) {
        const std::string value = parser.value("encoding").toStdString();
        if (value == "auto") o.encoding = EncodingChoice::Auto;
        else if (value == "sjis") o.encoding = EncodingChoice::ShiftJis;
        else if (value == "utf-8") o.encoding = EncodingChoice::Utf8;
        else return "option --encoding: '" + value + "' is not auto, sjis or utf-8";
    }
    if (parser.isSet("level")) {
        const std::string value = parser.value("level").toStdString();
        const std::string names = kLevelNames;
        const size_t at = value.size() == 1 ? names.find(value[0]) : std::string::npos;
        if (at == std::string::npos) return "option --level: '" + value + "' is not L, M, Q or H";
        o.settings.level = static_cast<int>(at);
    }
    if (parser.isSet("mode")) {
        const std::string value = parser.value("mode").toStdString();
        if (value != "auto" && value != "optimal") return "option --mode: '" + value + "' is not auto or optimal";
        o.settings.optimal = value == "optimal";
    }
    return std::nullopt;
}

}  // namespace

std::string ReportHelp() {
    // "1-40 (default 20)"
    const auto span = [](const SettingRange& r) {
        return std::to_string(r.low) + "-" + std::to_string(r.high) + " (default " + std::to_string(r.initial) + ")";
    };
    return "Usage: mosaiko-report FILE -o REPORT.pdf [options]\n"
           "       mosaiko-report FILE --print [PRINTER] [options]\n"
           "       mosaiko-report --list-printers\n"
           "Imports FILE (Shift-JIS or UTF-8 text or CSV), checks that every group fits a QR code\n"
           "and writes the A4 report as a PDF, or prints it.\n"
           "\n"
           "  -o FILE          the PDF to write (- for standard output, and\n"
           "                   the counts go to standard error)\n"
           "  --print [NAME]   print through the system's printing service (CUPS),\n"
           "                   on the printer NAME or the default printer\n"
           "  --list-printers  list the printers, one name a line\n"
           "  --version N      symbol version " + span(kVersionRange) + "\n"
           "  --version, -V    alone or before another option: print the program version\n"
           "  --size N         pixels per module " + span(kSymbolSizeRange) + "\n"
           "  --title TEXT     report title (default " + kDefaultReportTitle + ")\n"
           "  --per-page N     groups per page " + span(kGroupsPerPageRange) + "\n"
           "  --font-size N    point size of the group text " + span(kFontSizeRange) + "\n"
           "  --encoding E     auto, sjis or utf-8 (default auto: UTF-8 files are\n"
           "                   recognised and converted to Shift-JIS)\n"
           "  --level L        error-correction level L, M, Q or H (default L)\n"
           "  --mode M         auto or optimal (default auto; optimal: the segmentation\n"
           "                   of fewest bits, so that more text fits)\n"
           "  --csv            read FILE as a spreadsheet writes CSV: quoted fields may\n"
           "                   hold commas, \"\" and line breaks; the group text is the\n"
           "                   fields after the number, unquoted, joined by commas\n"

           "Every option takes its value as --opt VALUE or --opt=VALUE.\n"
           "\n"
           "Exit status: 0 report written or printed; 1 the import failed, a group does not\n"
           "fit (nothing is written or printed), or the PDF or the print job failed; 2 usage error.\n";
}

std::optional<std::string> ParseReportOptions(int argc, char** argv, ReportOptions& o) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        // --print=NAME names the printer as --print NAME does.
        if (arg.startsWith(QLatin1String("--print="))) args << QStringLiteral("--print") << arg.mid(8);
        // --version alone, or before another option, is the program's version.
        else if (AsksProgramVersion(argc, argv, i)) args << QStringLiteral("-V");
        else args << arg;
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption({{"h", "help"}, {}});
    parser.addOption({"V", {}});
    parser.addOption({"print", {}});
    parser.addOption({"list-printers", {}});
    parser.addOption({"csv", {}});
    for (const Ranged& r : kRanged) parser.addOption({r.name, {}, "N"});
    for (const char* name : kValued) parser.addOption({name, {}, "VALUE"});
    if (!parser.parse(args)) {
        if (const auto missing = MissingValue(args)) return missing;
        if (!parser.unknownOptionNames().isEmpty()) return "unknown option " + Dashed(parser.unknownOptionNames().front());
        return parser.errorText().toStdString();
    }
    if (parser.isSet("help") || parser.isSet("V")) {
        o.help = parser.isSet("help");
        o.programVersion = !o.help;
        return std::nullopt;
    }
    if (const auto error = ApplyValues(parser, o)) return error;
    o.print = parser.isSet("print");
    o.settings.csv = parser.isSet("csv");
    o.listPrinters = parser.isSet("list-printers");
    QStringList positional = parser.positionalArguments();
    if (o.listPrinters) return positional.isEmpty() ? std::nullopt : std::optional<std::string>("--list-printers takes no FILE");
    if (o.print && positional.size() == 2) {
        // The printer is the word right after --print; FILE may come before or after.
        const qsizetype at = args.indexOf(QStringLiteral("--print"));
        if (at + 1 < args.size() && positional.removeOne(args[at + 1])) o.printer = args[at + 1].toStdString();
    }
    if (positional.size() > 1) return "more than one FILE given";
    if (positional.isEmpty()) return "no FILE given";
    o.file = positional.front().toStdString();
    if (o.file.empty()) return "FILE is an empty name (- is standard input)";
    if (o.print && !o.output.empty()) return "give either -o or --print, not both";
    if (!o.print && o.output.empty()) return "no output file given (-o REPORT.pdf)";
    return std::nullopt;
}

}  // namespace mosaiko::cli

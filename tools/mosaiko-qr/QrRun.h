// The steps of one mosaiko-qr run, shared by every output format.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "QrDriver.h"
#include "SymbolParameters.h"
#include "QrFormats.h"
#include "QrOptions.h"

namespace mosaiko::cli {

// The name every message of mosaiko-qr starts with, whichever program runs.
inline constexpr const char* kProgram = "mosaiko-qr";

// "mosaiko-qr: MESSAGE" on standard error; the exit status for a failed run.
int Failed(const std::string& message);
// The message and the pointer to --help; the exit status for a usage error.
int Usage(const std::string& message);

// The options, --help and the format, checked before any data is read;
// gives the exit status when the run ends there.
std::optional<int> CheckOptions(int argc, char** argv, QrOptions& options, QrFormat& format);

// The data of the run: TEXT, --input FILE or standard input; gives the exit
// status when it cannot be had.
std::optional<int> ReadCode(const QrOptions& options, std::string& code);

// The most data a run can use: 1024 symbols of 7089 digits each (a symbol's
// numeric capacity; other bytes fill a symbol sooner).
inline constexpr std::size_t kMaxInputBytes = kMaxPieces * static_cast<std::size_t>(kMaxSymbolText);

enum class ReadStatus { Read, Unreadable, TooLong };

// Reads all bytes of a file ("-" or empty: standard input), but never more
// than kMaxInputBytes: a longer input is TooLong before it is all read.
// Otherwise `error` says which input and why.
ReadStatus ReadAllBytes(const std::string& path, std::string& bytes, std::string& error);

// The message for data longer than kMaxInputBytes.
std::string TooLongText(const std::string& what);

// Writes text or bytes to a file (empty or "-": standard output). A file is
// replaced only when all bytes are written (a temporary file in the same
// folder, then renamed); on failure `error` says which file and why.
bool WriteAllBytes(const std::string& path, const std::string& bytes, std::string& error);
// The same for bytes made while they are written: `produce` hands them to
// its write function chunk by chunk and returns false when one failed.
using ChunkWrite = std::function<bool(const char* data, std::size_t size)>;
bool WriteStreamed(const std::string& path, const std::function<bool(const ChunkWrite&)>& produce, std::string& error);

// True when the output goes to standard output rather than a file.
inline bool WritesToStandardOutput(const QrOptions& options) {
    return options.output.empty() || options.output == "-";
}

// Settings through the encoder's setters, in the order a host sets them.
void Configure(QrDriver& driver, const QrOptions& options, std::string code);

// Why the run stopped at symbol k, for standard error.
std::string FailureMessage(const QrDriver& driver);

// The key=value lines of --info.
std::string InfoText(const QrDriver& driver);

}  // namespace mosaiko::cli

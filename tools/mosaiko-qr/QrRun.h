// The steps of one mosaiko-qr run, shared by every output format.
#pragma once

#include <string>

#include "QrDriver.h"
#include "QrOptions.h"

namespace mosaiko::cli {

// Reads all bytes of a file ("-" or empty: standard input); false on failure.
bool ReadAllBytes(const std::string& path, std::string& bytes);

// Writes text or bytes to a file (empty: standard output); false on failure.
bool WriteAllBytes(const std::string& path, const std::string& bytes);

// Settings through the encoder's setters, in the order a host sets them.
void Configure(QrDriver& driver, const QrOptions& options, std::string code);

// Why the run stopped at symbol k, for standard error.
std::string FailureMessage(const QrDriver& driver);

// The key=value lines of --info.
std::string InfoText(const QrDriver& driver);

}  // namespace mosaiko::cli

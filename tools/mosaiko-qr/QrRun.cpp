#include "QrRun.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace mosaiko::cli {

bool ReadAllBytes(const std::string& path, std::string& bytes) {
    if (path.empty() || path == "-") {
        std::ostringstream all;
        all << std::cin.rdbuf();
        bytes = all.str();
        return !std::cin.bad();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteAllBytes(const std::string& path, const std::string& bytes) {
    if (path.empty() || path == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return static_cast<bool>(std::cout);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

void Configure(QrDriver& driver, const QrOptions& o, std::string code) {
    driver.SetVersion(o.version);
    driver.SetEclevel(o.level);
    driver.SetEmode(o.emode);
    driver.SetMasktype(o.mask);
    driver.SetPxmag(o.pxmag);
    driver.SetMode(o.structure);
    driver.SetCount(o.count);
    driver.SetBinaryOperation(o.binary);
    driver.SetCode(std::move(code));
}

std::string FailureMessage(const QrDriver& d) {
    const int k = d.CurrentSymbol();
    std::string where = "symbol " + std::to_string(k) + " of " + std::to_string(d.Count()) + ": ";
    if (d.PieceLength(k) > kMaxSymbolText)
        return where + "its " + std::to_string(d.PieceLength(k)) + " bytes exceed the 7089 bytes a symbol can hold";
    static const char* kModes[] = {"numeric", "alphanumeric", "byte", "kanji"};
    static const char* kLevels = "LMQH";
    if (d.LastFailure() == EncodeFailure::ByteNotInMode)
        return where + "holds a byte that " + kModes[d.Emode()] + " mode cannot encode";
    return where + "its " + std::to_string(d.PieceLength(k)) + " bytes do not fit version " +
           std::to_string(d.Version()) + "-" + kLevels[d.Eclevel()];
}

std::string InfoText(const QrDriver& d) {
    static const char* kModes[] = {"single", "connect", "plus"};
    std::ostringstream s;
    s << "len=" << d.Len() << "\n"
      << "count=" << d.Count() << "\n"
      << "mode=" << kModes[d.Mode()] << "\n"
      << "parity=" << d.Parity() << "\n"
      << "emode_r=" << d.EmodeR() << "\n"
      << "masktype_r=" << d.MasktypeR() << "\n"
      << "capacity=" << d.GetCapacity() << "\n";
    return s.str();
}

}  // namespace mosaiko::cli

// How large one QR module comes out on paper, and whether that is large
// enough to scan: the picture of 256 pixels is shown on the row's square
// image, whose side (in 96-dpi report pixels) follows from the groups per page.
#pragma once

#include <functional>
#include <string>

namespace mosaiko {

// The readers of a printed module: a handheld imager reads an office print
// from 0.25 mm modules on, a phone camera only from 0.375 mm.
inline constexpr double kImagerModuleMm = 0.25;
inline constexpr double kPhoneModuleMm = 0.375;
// Below this the print may not scan at all.
inline constexpr double kMinReadableModuleMm = kImagerModuleMm;

// Printed size of one module: image side S pixels at 96 dpi is S x 25.4 / 96
// mm, and the 256-pixel picture holds `magnification` pixels per module.
double PrintedModuleMm(int imageSide, int magnification);

struct ModuleAdvice {
    double moduleMm = 0;
    bool readable = true;
    // The smallest change that reaches the readable size while every symbol
    // still fits its picture; 0 when none is needed or none exists.
    int magnification = 0;   // a larger symbol size, pixels per module
    int groupsPerPage = 0;   // or fewer groups per page
    double suggestedMm = 0;
};

// The caption of the symbol size item for 1-4 pixels per module.
std::string SymbolSizeName(int magnification);

// imageSide(groupsPerPage) gives the report's image side for that setting.
ModuleAdvice AdviseModule(int version, int magnification, int groupsPerPage,
                          const std::function<int(int)>& imageSide);

// Which readers a module of `mm` suits, with the limits it misses.
std::string ReadersText(double mm);

// The advice as the status bar and mosaiko-report show it (UTF-8).
std::string AdviceText(const ModuleAdvice& advice);

}  // namespace mosaiko

// Report designs are laid out in screen pixels at 96 per inch, while the page
// itself is set up in millimetres; these are the only conversions between them.
#pragma once

namespace mosaiko {

inline constexpr double kDesignPixelsPerInch = 96.0;
inline constexpr double kMillimetresPerInch = 25.4;

constexpr double DesignPixelsToMm(double pixels) {
    return pixels * kMillimetresPerInch / kDesignPixelsPerInch;
}

constexpr double MmToDesignPixels(double mm) {
    return mm * kDesignPixelsPerInch / kMillimetresPerInch;
}

}  // namespace mosaiko

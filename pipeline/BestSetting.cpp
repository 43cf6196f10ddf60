#include "BestSetting.h"

#include <cstdio>
#include <tuple>

#include "GenerationCheck.h"
#include "PrintAdvice.h"
#include "QrEncoder.h"
#include "ReportSettings.h"

namespace mosaiko {
namespace {

// The count-field widths change after versions 9 and 26; the segmentation
// and its bits stay the same within each range.
constexpr int kRangeFirst[3] = {1, 10, 27};
int RangeOf(int version) { return version >= 27 ? 2 : version >= 10 ? 1 : 0; }

// Which readers a module reaches: 0 none, 1 handheld imagers, 2 phones too.
int ReaderClass(double mm) { return mm >= kPhoneModuleMm ? 2 : mm >= kImagerModuleMm ? 1 : 0; }

// The order of preference: the better reader class; then the user's own
// groups per page, or else the fewest pages that reach that class; then the
// larger module; then the user's version, or else the smallest symbol at that
// module size (easier to aim at); then the user's symbol size.
using Rank = std::tuple<int, bool, int, int, bool, int, bool>;

Rank RankOf(const PrintSetting& s, int side, const PrintSetting& current) {
    return {ReaderClass(s.moduleMm), s.groupsPerPage == current.groupsPerPage, s.groupsPerPage,
            side * s.symbolSize,     s.version == current.version,            -s.version,
            s.symbolSize == current.symbolSize};
}

PrintSetting Setting(int version, int size, int perPage, int side) {
    return {version, size, perPage, PrintedModuleMm(side, size)};
}

}  // namespace

DataNeed::DataNeed(int eclevel, bool optimal)
    : eclevel_(eclevel), optimal_(optimal), meter_(std::make_unique<QrEncoder>()) {
    meter_->SetEclevel(eclevel);
}
DataNeed::~DataNeed() = default;
DataNeed::DataNeed(DataNeed&&) noexcept = default;
DataNeed& DataNeed::operator=(DataNeed&&) noexcept = default;

void DataNeed::Add(std::string_view data) {
    ++groups_;
    if (tooLong_ || data.size() > static_cast<size_t>(kMaxSymbolText)) {
        tooLong_ = true;
        return;
    }
    meter_->SetSymbolText(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size()));
    for (int range = 0; range < 3; ++range) {
        meter_->SetVersion(kRangeFirst[range]);
        const int bits = meter_->SegmentedBits(optimal_);
        if (bits > bits_[range]) bits_[range] = bits;
    }
}

bool DataNeed::FitsVersion(int version) const {
    if (tooLong_ || !kVersionRange.Holds(version)) return false;
    return bits_[RangeOf(version)] <= SymbolParameters[version].Levels[eclevel_].DataCodewords * 8;
}

BestSetting FindBestSetting(const DataNeed& need, const PrintSetting& current,
                            const std::function<int(int)>& imageSide) {
    BestSetting result;
    if (need.Empty()) return result;
    const int currentSize = current.symbolSize < 1 ? 1 : current.symbolSize;  // none selected keeps 1
    const int currentSide = imageSide(current.groupsPerPage);
    const PrintSetting now = Setting(current.version, currentSize, current.groupsPerPage, currentSide);
    result.currentFits = need.FitsVersion(now.version) && SymbolFitsHost(now.version, now.symbolSize);
    int sides[kGroupsPerPageRange.high + 1] = {};  // the form is laid out once per value
    for (int g = kGroupsPerPageRange.low; g <= kGroupsPerPageRange.high; ++g) sides[g] = imageSide(g);
    bool found = false;
    Rank bestRank{};
    for (int v = kVersionRange.low; v <= kVersionRange.high; ++v) {
        if (!need.FitsVersion(v)) continue;
        for (int m = kSymbolSizeRange.low; m <= kSymbolSizeRange.high && SymbolFitsHost(v, m); ++m)
            for (int g = kGroupsPerPageRange.low; g <= kGroupsPerPageRange.high; ++g) {
                const int side = sides[g];
                const PrintSetting s = Setting(v, m, g, side);
                const Rank rank = RankOf(s, side, now);
                if (found && rank <= bestRank) continue;
                found = true;
                bestRank = rank;
                result.best = s;
            }
    }
    result.suggest = found && (!result.currentFits || RankOf(now, currentSide, now) < bestRank);
    return result;
}

std::string SuggestionText(const BestSetting& best) {
    if (!best.suggest) return {};
    const PrintSetting& s = best.best;
    char mm[32];
    std::snprintf(mm, sizeof mm, "%.3f mm", s.moduleMm);
    return "おすすめ: バージョン " + std::to_string(s.version) + "・" + SymbolSizeName(s.symbolSize) + "・頁内 " +
           std::to_string(s.groupsPerPage) + " グループでモジュール " + mm + "（" + ReadersText(s.moduleMm) + "）";
}

}  // namespace mosaiko

namespace mosaiko {

std::string CheckAdviceText(const ModuleAdvice& advice, const BestSetting& best) {
    if (!best.suggest) return AdviceText(advice);
    ModuleAdvice moduleOnly = advice;
    moduleOnly.magnification = 0;
    moduleOnly.groupsPerPage = 0;
    return AdviceText(moduleOnly) + "。" + SuggestionText(best);
}

}  // namespace mosaiko

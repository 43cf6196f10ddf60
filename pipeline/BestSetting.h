// The most readable setting for the imported groups: over every version,
// symbol size and groups-per-page value, the one whose printed module is
// largest while every group still fits its symbol and the symbol its picture.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace mosaiko {

class QrEncoder;

// What the groups need of a version: the bits of the largest group in each
// range of versions that shares the count-field widths (1-9, 10-26, 27-40).
// Measured once per group during the check, so the search encodes nothing.
class DataNeed {
public:
    DataNeed(int eclevel, bool optimal);
    ~DataNeed();
    DataNeed(DataNeed&&) noexcept;
    DataNeed& operator=(DataNeed&&) noexcept;

    void Add(std::string_view data);
    // Whether every group added fits `version` at the level and segmentation.
    bool FitsVersion(int version) const;
    bool Empty() const { return groups_ == 0; }

private:
    int eclevel_;
    bool optimal_;
    int groups_ = 0;
    bool tooLong_ = false;
    int bits_[3] = {0, 0, 0};
    std::unique_ptr<QrEncoder> meter_;  // its fixed buffers, made once per check
};

struct PrintSetting {
    int version = 0;
    int symbolSize = 0;  // pixels per module, 1-4
    int groupsPerPage = 0;
    double moduleMm = 0;
};

struct BestSetting {
    bool currentFits = false;
    bool suggest = false;  // `best` beats the current setting
    PrintSetting best;
};

// `current` is the user's setting (its moduleMm ignored); imageSide(g) is the
// report's image side for g groups per page.
BestSetting FindBestSetting(const DataNeed& need, const PrintSetting& current,
                            const std::function<int(int)>& imageSide);

struct ModuleAdvice;

// The advice after a check: the module and its readers, then the most
// readable setting when it beats the current one (else the smaller change
// of ModuleAdvice). Both the window and mosaiko-report show this text.
std::string CheckAdviceText(const ModuleAdvice& advice, const BestSetting& best);

// "おすすめ: バージョン 6・4倍角サイズ・頁内 8 グループでモジュール 0.500 mm（…）",
// empty without a suggestion.
std::string SuggestionText(const BestSetting& best);

}  // namespace mosaiko

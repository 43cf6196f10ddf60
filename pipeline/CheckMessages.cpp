#include "CheckMessages.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "PrintAdvice.h"
#include "ReportSettings.h"

namespace mosaiko {
namespace {

std::string Number(int n) { return std::to_string(n); }

// "20", or "20（誤り訂正レベル M）" at another level than L.
std::string VersionName(int version, int eclevel) {
    std::string text = Number(version);
    if (eclevel > 0 && eclevel < 4) text += std::string("（誤り訂正レベル ") + kLevelNames[eclevel] + "）";
    return text;
}

std::string DataWhy(const GroupFailure& f, const std::string& version) {
    const int over = f.dataBytes - f.capacityBytes;
    if (over <= 0)  // the mix of modes needs more room than plain bytes would
        return "データ " + Number(f.dataBytes) + " バイトがバージョン " + version + " に収まらない";
    return "データ " + Number(f.dataBytes) + " バイトがバージョン " + version + " の容量 " +
           Number(f.capacityBytes) + " バイトを " + Number(over) + " バイト超えている";
}

std::string Why(const GroupFailure& f, int version, int magnification, int eclevel) {
    if (f.reason == GroupFailure::SymbolTooWide)
        return "シンボル " + Number(f.symbolPixels) + " ピクセルが " + Number(f.picturePixels) +
               " ピクセルの画像より大きい、バージョン " + Number(version) + "・" + SymbolSizeName(magnification);
    std::string text = DataWhy(f, VersionName(version, eclevel));
    if (f.fitsSmallest) text += "。最小符号化にすると収まります";
    return text;
}

constexpr size_t kEveryGroup = SIZE_MAX;

// "グループ 2（…）、グループ 5（…）ほか 4 グループ": `named` groups by name,
// parted by `separator`, the rest counted.
template <typename Item>
std::string NameGroups(const std::vector<Item>& items, const std::function<std::string(const Item&)>& why,
                       size_t named, const char* separator) {
    std::string text;
    named = std::min(items.size(), named);
    for (size_t i = 0; i < named; ++i) {
        if (i > 0) text += separator;
        text += "グループ " + Number(items[i].group) + "（" + why(items[i]) + "）";
    }
    if (items.size() > named) text += "ほか " + Number(static_cast<int>(items.size() - named)) + " グループ";
    return text;
}

std::string FailureMessage(const CheckOutcome& outcome, int version, int magnification, int eclevel, size_t named,
                           const char* separator) {
    if (outcome.failures.empty()) return {};
    const std::function<std::string(const GroupFailure&)> why = [&](const GroupFailure& f) {
        return Why(f, version, magnification, eclevel);
    };
    return "異常: " + Number(outcome.groups) + " グループ中 " + Number(static_cast<int>(outcome.failures.size())) +
           " グループが QR コードになりません:" + (named == kNamedGroups ? " " : "\n") +
           NameGroups(outcome.failures, why, named, separator);
}

std::string OverflowMessage(const CheckOutcome& outcome, size_t named, const char* separator, const char* end) {
    if (outcome.overflows.empty()) return {};
    const std::function<std::string(const RowOverflow&)> why = [](const RowOverflow& o) {
        return Number(o.shownLines) + " 行まで表示";
    };
    return "注意: " + Number(static_cast<int>(outcome.overflows.size())) +
           " グループの文字が行に収まらず、途中までしか印刷されません:" + (named == kNamedGroups ? " " : "\n") +
           NameGroups(outcome.overflows, why, named, separator) + end + "文字サイズか 1 ページの件数を小さくしてください";
}

}  // namespace

std::string FailureText(const CheckOutcome& outcome, int version, int magnification, int eclevel) {
    return FailureMessage(outcome, version, magnification, eclevel, kNamedGroups, "、");
}

std::string FailureDetails(const CheckOutcome& outcome, int version, int magnification, int eclevel) {
    return FailureMessage(outcome, version, magnification, eclevel, kEveryGroup, "\n");
}

std::string OverflowText(const CheckOutcome& outcome) { return OverflowMessage(outcome, kNamedGroups, "、", "。"); }

std::string OverflowDetails(const CheckOutcome& outcome) { return OverflowMessage(outcome, kEveryGroup, "\n", "\n"); }

std::string CheckStoppedText(long long done, long long groups) {
    return "生成チェックを中止しました（" + std::to_string(done) + " / " + std::to_string(groups) +
           " グループで中止。結果は出ていません）";
}

std::string PrintStoppedText(const std::string& failureText) {
    std::string text = "生成チェックが異常のため帳票を印刷しませんでした";
    if (!failureText.empty()) text += "。" + failureText;
    return text;
}

}  // namespace mosaiko

#include "PrintAdvice.h"

#include <cstdio>

#include "GenerationCheck.h"

namespace mosaiko {
namespace {

constexpr int kPicturePixels = kHostPictureSide;
constexpr int kMaxMagnification = 4;  // the largest symbol size item
const char* const kSizeNames[] = {"標準サイズ", "2倍角サイズ", "3倍角サイズ", "4倍角サイズ"};

std::string Millimetres(double mm) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f mm", mm);
    return text;
}

}  // namespace

std::string SymbolSizeName(int magnification) {
    if (magnification < 1 || magnification > kMaxMagnification) return std::to_string(magnification) + " 倍";
    return kSizeNames[magnification - 1];
}

double PrintedModuleMm(int imageSide, int magnification) {
    return imageSide * 25.4 / 96.0 * magnification / kPicturePixels;
}

ModuleAdvice AdviseModule(int version, int magnification, int groupsPerPage,
                          const std::function<int(int)>& imageSide) {
    ModuleAdvice advice;
    if (magnification < 1) magnification = 1;  // no size selected keeps the control's 1
    advice.moduleMm = PrintedModuleMm(imageSide(groupsPerPage), magnification);
    advice.readable = advice.moduleMm >= kMinReadableModuleMm;
    if (advice.readable) return advice;
    // A larger symbol keeps the page count, so it comes first.
    for (int m = magnification + 1; m <= kMaxMagnification && SymbolFitsHost(version, m); ++m) {
        const double mm = PrintedModuleMm(imageSide(groupsPerPage), m);
        if (mm < kMinReadableModuleMm) continue;
        advice.magnification = m;
        advice.suggestedMm = mm;
        return advice;
    }
    for (int g = groupsPerPage - 1; g >= 1; --g) {
        const double mm = PrintedModuleMm(imageSide(g), magnification);
        if (mm < kMinReadableModuleMm) continue;
        advice.groupsPerPage = g;
        advice.suggestedMm = mm;
        return advice;
    }
    return advice;
}

std::string ReadersText(double mm) {
    if (mm >= kPhoneModuleMm) return "ハンディスキャナでもスマートフォンのカメラでも読めます";
    const std::string phone = "スマートフォンのカメラには " + Millimetres(kPhoneModuleMm) + " 以上が必要です";
    if (mm >= kImagerModuleMm) return "ハンディスキャナ向き。" + phone;
    return "ハンディスキャナには " + Millimetres(kImagerModuleMm) + "、" + phone;
}

std::string AdviceText(const ModuleAdvice& advice) {
    std::string text = "印刷時のモジュール: " + Millimetres(advice.moduleMm);
    if (advice.readable) return text + "（" + ReadersText(advice.moduleMm) + "）";
    text += "（" + Millimetres(kMinReadableModuleMm) + " 未満のため読み取れないおそれがあります）";
    if (advice.magnification > 0)
        text += "。シンボルサイズを「" + SymbolSizeName(advice.magnification) + "」にすると " +
                Millimetres(advice.suggestedMm) + " になります";
    else if (advice.groupsPerPage > 0)
        text += "。1ページの件数を " + std::to_string(advice.groupsPerPage) + " にすると " +
                Millimetres(advice.suggestedMm) + " になります";
    return text;
}

}  // namespace mosaiko

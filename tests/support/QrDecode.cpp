#define ZX_USE_UTF8 1
#include "QrDecode.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>

#include "QrEncoder.h"

namespace mosaiko::test {

GreyImage RenderSymbol(const QrEncoder& encoder, int scale) {
    const int n = encoder.ModulesPerSide();
    GreyImage image;
    image.width = image.height = (n + 8) * scale;
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, 255);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            if (!encoder.ModuleIsDark(r, c)) continue;
            for (int y = 0; y < scale; ++y)
                for (int x = 0; x < scale; ++x)
                    image.pixels[static_cast<size_t>((r + 4) * scale + y) * image.width + (c + 4) * scale + x] = 0;
        }
    return image;
}

// A clean synthetic image is read module by module first ("pure"); pictures
// with comments or several symbols need the detector.
namespace {

Decoded FromResult(const ZXing::Result& result) {
    Decoded d;
    d.bytes.assign(result.bytes().begin(), result.bytes().end());
    d.ecLevel = result.ecLevel();
    d.sequenceIndex = result.sequenceIndex();
    d.sequenceSize = result.sequenceSize();
    d.sequenceId = result.sequenceId();
    return d;
}

}  // namespace

std::optional<Decoded> DecodeImage(const uint8_t* grey, int width, int height, int stride) {
    const ZXing::ImageView view(grey, width, height, ZXing::ImageFormat::Lum, stride);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setIsPure(true);
    ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) {
        hints.setIsPure(false);
        hints.setTryHarder(true);
        result = ZXing::ReadBarcode(view, hints);
    }
    if (!result.isValid()) return std::nullopt;
    return FromResult(result);
}

std::vector<Decoded> DecodeAll(const uint8_t* grey, int width, int height, int stride) {
    const ZXing::ImageView view(grey, width, height, ZXing::ImageFormat::Lum, stride);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    ZXing::Results results = ZXing::ReadBarcodes(view, hints);
    std::sort(results.begin(), results.end(), [](const ZXing::Result& a, const ZXing::Result& b) {
        return a.position().topLeft().y < b.position().topLeft().y;
    });
    std::vector<Decoded> all;
    for (const ZXing::Result& r : results)
        if (r.isValid()) all.push_back(FromResult(r));
    return all;
}

std::optional<Decoded> DecodeImage(const GreyImage& image) {
    return DecodeImage(image.pixels.data(), image.width, image.height, image.width);
}

std::optional<Decoded> DecodeSymbol(const QrEncoder& encoder) {
    return DecodeImage(RenderSymbol(encoder));
}

}  // namespace mosaiko::test

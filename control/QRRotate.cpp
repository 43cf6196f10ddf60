// Turning a bitmap picture. The surface takes the turned size, so a host that
// lays out by the control's Width and Height sees the picture as shown.
#include "QRSymbols.h"

namespace mosaiko {

void TQRSymbols::RotatePicture(int angle) {
    // Metafiles are never turned; nor is anything by another angle.
    const TBitmap* source = surface_.Picture().AsBitmap();
    if (source == nullptr || symbolPicture_ != picBMP) return;
    if (angle != 90 && angle != 180 && angle != 270) return;

    const bool autoSize = surface_.AutoSize();
    const bool stretch = surface_.Stretch();
    const int width = surface_.Width();
    const int height = surface_.Height();
    surface_.SetAutoSize(false);
    surface_.SetStretch(false);

    TBitmap turned = source->Rotated(angle);
    if (angle != 180) {
        surface_.SetWidth(height);
        surface_.SetHeight(width);
    }
    surface_.Picture().AssignBitmap(std::move(turned));

    surface_.SetStretch(stretch);
    surface_.SetAutoSize(autoSize);
}

}  // namespace mosaiko

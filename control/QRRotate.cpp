// Turning a bitmap picture. The control takes the turned size, so a host that
// lays out by the control's Width and Height sees the picture as shown.
#include "QRCode3.h"

namespace mosaiko {

void TQRCode::RotatePicture(int angle) {
    // Metafiles are never turned; nor is anything by another angle.
    const TBitmap* source = Picture().AsBitmap();
    if (source == nullptr || symbolPicture_ != picBMP) return;
    if (angle != 90 && angle != 180 && angle != 270) return;

    const bool autoSize = AutoSize();
    const bool stretch = Stretch();
    const int width = Width();
    const int height = Height();
    SetAutoSize(false);
    SetStretch(false);

    TBitmap turned = source->Rotated(angle);
    if (angle != 180) {
        SetWidth(height);
        SetHeight(width);
    }
    Picture().AssignBitmap(std::move(turned));

    SetStretch(stretch);
    SetAutoSize(autoSize);
}

}  // namespace mosaiko

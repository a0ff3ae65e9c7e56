#include "gameroom/display_scale.h"

namespace palisade {

namespace {
constexpr double kReferenceWidth = 1024.0;
constexpr double kReferenceHeight = 768.0;
constexpr double kSmallScale = 800.0 / 1024.0;
} // namespace

DisplayScale computeDisplayScale(double screenWidthPx, double screenHeightPx)
{
    DisplayScale scale;
    // A screen that reports no size is treated as a full-size one.
    if (!(screenWidthPx > 0.0) || !(screenHeightPx > 0.0)) return scale;

    scale.screenRatioX = screenWidthPx / kReferenceWidth;
    scale.screenRatioY = screenHeightPx / kReferenceHeight;
    if (scale.screenRatioX < 1.0) {
        scale.scaleX = kSmallScale;
        scale.scaleY = kSmallScale;
    } else {
        scale.screenRatioY = 1.0;
    }
    return scale;
}

} // namespace palisade

#pragma once
// Twips to pixels and back, at the 15 twips a pixel the window is laid out in.
#include <cmath>

namespace pendrel::qt {

inline constexpr float TwipsPerPixel = 15.0f;

inline int TwipsToPixels(float twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}
inline float PixelsToTwips(int pixels) {
    return static_cast<float>(pixels) * TwipsPerPixel;
}

}  // namespace pendrel::qt

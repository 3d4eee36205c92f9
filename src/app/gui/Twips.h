#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace addrix {

// Window measures are kept in twips (1/1440 inch) as the windows were
// designed. This is the one place that turns them into pixels: 15 twips per
// pixel at 96 dots per inch; Qt's high-dpi scaling takes care of other
// screens, as its pixels are device-independent.
inline constexpr int kTwipsPerPixel = 15;

// Pixels for `twips`, rounded to the nearest pixel.
constexpr int Twips(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// Twips for `pixels`.
constexpr int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

inline QPoint TwipsPoint(int left, int top) {
    return {Twips(left), Twips(top)};
}

inline QSize TwipsSize(int width, int height) {
    return {Twips(width), Twips(height)};
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsPoint(left, top), TwipsSize(width, height)};
}

} // namespace addrix

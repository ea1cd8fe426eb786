#include "ui/Twips.h"

#include <cmath>

namespace twips {

namespace {
double perPixel = 15.0;
}

void SetLogicalDpi(double dpi) {
    if (dpi > 0)
        perPixel = PerInch / dpi;
}

double PerPixel() {
    return perPixel;
}

int ToPixels(double twips) {
    return static_cast<int>(std::lround(twips / perPixel));
}

double FromPixels(int pixels) {
    return pixels * perPixel;
}

} // namespace twips

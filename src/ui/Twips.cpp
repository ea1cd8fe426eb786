#include "Twips.h"

#include <cmath>

namespace twips {

int ToPixels(double twips) {
    return static_cast<int>(std::lround(twips / PerPixel));
}

double FromPixels(int pixels) {
    return double{1.0} * pixels * PerPixel;
}

} // namespace twips

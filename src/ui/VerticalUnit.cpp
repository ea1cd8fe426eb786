#include "ui/VerticalUnit.h"

#include <algorithm>
#include <stdexcept>

void VerticalUnit::SetScaleHeight(double clientHeightTwips, int scaleHeight) {
    if (scaleHeight <= 0)
        throw std::invalid_argument("Invalid property value: the scale height must be positive.");
    twipsPerUnit_ = clientHeightTwips / scaleHeight;
}

double ClientHeightTwips(int outerTwips, double frameTwips, double mustShowTwips) {
    return std::max(outerTwips - frameTwips, mustShowTwips);
}

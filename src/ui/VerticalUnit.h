#pragma once

// The window's vertical unit, in which the Top and Height of a control are read when they are
// assigned. It is one twip until ScaleHeight is first assigned; from then on it is the client
// height at the moment of assignment divided by the value assigned. Assigning it moves and
// resizes nothing: only later assignments read the new unit.
class VerticalUnit {
public:
    double TwipsPerUnit() const { return twipsPerUnit_; }
    double ToTwips(double units) const { return units * twipsPerUnit_; }

    // Throws std::invalid_argument for a scale height of zero or below.
    void SetScaleHeight(double clientHeightTwips, int scaleHeight);

private:
    double twipsPerUnit_ = 1.0;
};

// The client height, in twips, of a window of the given outer height inside the desktop's frame.
// Where the frame is taller than the design allows for, the window grows by the excess rather
// than cut off the top `mustShowTwips` of its client area.
double ClientHeightTwips(int outerTwips, double frameTwips, double mustShowTwips);

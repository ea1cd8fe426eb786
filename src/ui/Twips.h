#pragma once

// The window is designed in twips: 1440 to the inch. A logical pixel is 1440 ÷ the screen's logical
// DPI twips (15 at 96 DPI), so a desktop with larger fonts gets larger boxes to hold them.
namespace twips {

constexpr int PerInch = 1440;

// Set once, from the screen, before the window is built.
void SetLogicalDpi(double dpi);
double PerPixel();

// The nearest logical pixel.
int ToPixels(double twips);
double FromPixels(int pixels);

} // namespace twips

#pragma once

// The window is designed in twips: 1440 to the inch, 15 to a logical pixel at 96 dots per inch.
// Qt scales logical pixels on a high-density screen, so the design keeps its proportions there.
namespace twips {

constexpr int PerPixel = 15;

// The nearest logical pixel.
int ToPixels(double twips);
double FromPixels(int pixels);

} // namespace twips

#pragma once

// The window is laid out in twips, 1/1440 inch: 15 twips are one pixel at 96 dots per inch.
namespace Twips
{

constexpr int PerInch = 1440;

// Rounded to the nearest pixel.
constexpr int toPixels(int twips, int dotsPerInch = 96)
{
    return (twips * dotsPerInch + PerInch / 2) / PerInch;
}

struct Rect {
    int left, top, width, height;
};

} // namespace Twips

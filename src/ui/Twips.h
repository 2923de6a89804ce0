#pragma once

#include <QRect>

// The window is laid out in twips; 15 twips are one pixel at 96 dots per inch, and Qt
// scales pixels for other displays.
namespace Twips
{

constexpr int PerPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + PerPixel / 2) / PerPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips

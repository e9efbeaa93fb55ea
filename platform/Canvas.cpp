#include "Canvas.h"

#include <cmath>

namespace platform {

QColor ToQColor(TColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color)
{
    return TColor(color.red()) | (TColor(color.green()) << 8) | (TColor(color.blue()) << 16);
}

void TFont::SetSize(int points)
{
    size_ = points;
    height_ = -int(std::lround(points * double(PixelsPerInch) / 72.0));
}

void TFont::SetHeight(int pixels)
{
    height_ = pixels;
    size_ = int(std::lround(std::abs(pixels) * 72.0 / double(PixelsPerInch)));
}

void TCanvas::MoveTo(int x, int y)
{
    penPos_ = TPoint{x, y};
}

} // namespace platform

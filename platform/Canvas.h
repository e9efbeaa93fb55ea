#pragma once
// A drawing surface in the manner the instruments were written for: the pen, the
// brush and the font belong to the canvas and persist between calls, and every
// shape is given as integer pixel coordinates. Back ends decide what a call does
// (paint a picture, or record the call for a test).
#include <QColor>

#include <cstdint>
#include <string>

class QImage;

namespace platform {

// 0x00BBGGRR: red in the low byte, blue in the high byte (255 is red).
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

enum class TPenStyle { psSolid, psDash, psDot, psClear };
enum class TBrushStyle { bsSolid, bsClear };

class TPen {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    int Width() const { return width_; }
    // Widths below one pixel draw as one, as a pen cannot be thinner than a pixel.
    void SetWidth(int width) { width_ = width < 1 ? 1 : width; }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { style_ = style; }

    bool operator==(const TPen&) const = default;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
};

class TBrush {
public:
    TColor Color() const { return color_; }
    // Choosing a colour means "fill with it": a clear brush becomes solid again.
    void SetColor(TColor color)
    {
        color_ = color;
        style_ = TBrushStyle::bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { style_ = style; }

    bool operator==(const TBrush&) const = default;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

// Size is in points; Height in pixels, as the platform counts it: a negative
// height is the height of the characters themselves, a positive one the height of
// the whole text line. Setting the size sets a negative height (96 pixels per
// inch); setting the height updates the size. The typeface is the application's.
class TFont {
public:
    static constexpr int PixelsPerInch = 96;

    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    int Size() const { return size_; }
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int pixels);

    bool operator==(const TFont&) const = default;

private:
    TColor color_ = clBlack;
    int size_ = 8;
    int height_ = -11;
};

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

// Left and top are inside, right and bottom just outside.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

class TCanvas {
public:
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    TPoint PenPos() const { return penPos_; }

    // The size of the surface in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Outlined with the pen, filled with the brush; the right and bottom edges
    // (x2, y2) lie just outside the shape.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    // The part of the ellipse in (x1, y1)-(x2, y2) cut off by the line between the
    // points where the radials through (x3, y3) and (x4, y4) meet it; the arc runs
    // counter-clockwise on screen from the first radial to the second. When both
    // radial points are one pixel the whole ellipse is painted.
    virtual void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void MoveTo(int x, int y);
    // A line from the pen position; the end point itself is not painted.
    virtual void LineTo(int x, int y) = 0;
    // The text with its top-left corner at (x, y), in the font's colour, on a box
    // of the brush colour unless the brush is clear.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    // Copies (scaling if the sizes differ) a rectangle of another canvas's picture.
    virtual void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) = 0;

    // The picture behind the canvas, or null when the canvas paints none.
    virtual const QImage* Picture() const { return nullptr; }

protected:
    TCanvas() = default;
    void SetPenPos(TPoint pos) { penPos_ = pos; }

private:
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
};

} // namespace platform

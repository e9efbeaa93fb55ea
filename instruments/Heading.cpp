#include "Heading.h"

#include "Image.h"
#include "PixelMath.h"

#include <cmath>
#include <string>

namespace instruments {
namespace {

using platform::TCanvas;

// Degrees per radian of the read-out and of the letter and tick directions; this
// literal, not 180/pi, is what the compass has always shown.
constexpr double DegreesPerRadian = 57.3;

struct Geometry {
    double c;           // centre and unit of every radius
    double tickInner;   // 0.8 c
    double needle;      // 0.9 c, also the ticks' outer end
    double letters;     // 0.7 c
    double labelOrigin; // 0.95 c: letters are placed about this point, by their corner
};

Geometry MakeGeometry(const TCanvas& canvas)
{
    const double c = canvas.Width() / 2; // integer division first
    return Geometry{c, 0.8 * c, 0.9 * c, 0.7 * c, 0.95 * c};
}

void DrawFace(TCanvas& canvas)
{
    const int w = canvas.Width();
    const int h = canvas.Height();
    const auto T = Truncate;

    // The background's outline keeps whatever pen the canvas holds.
    canvas.Brush().SetColor(HeadingBackground);
    canvas.Rectangle(0, 0, w, h);

    canvas.Pen().SetWidth(2);
    canvas.Pen().SetColor(platform::clBlack);
    canvas.Ellipse(0, 0, w, h);

    canvas.Brush().SetColor(HeadingFace);
    canvas.Ellipse(T(0.05 * w), T(0.05 * h), T(0.95 * w), T(0.95 * h));
}

// Every 30 degrees, on the rim of the face, in a light colour so they show on black.
void DrawTicks(TCanvas& canvas, const Geometry& g)
{
    const auto T = Truncate;
    canvas.Pen().SetColor(HeadingTicks);
    for (int k = 0; k < 12; ++k) {
        const double theta = (30.0 * k) / DegreesPerRadian;
        canvas.MoveTo(T(g.c + g.tickInner * std::sin(theta)), T(g.c - g.tickInner * std::cos(theta)));
        canvas.LineTo(T(g.c + g.needle * std::sin(theta)), T(g.c - g.needle * std::cos(theta)));
    }
}

void DrawLetters(TCanvas& canvas, const Geometry& g)
{
    struct Letter {
        const char* text;
        double degrees;
    };
    static constexpr Letter letters[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};
    const auto T = Truncate;
    canvas.Font().SetColor(HeadingLetters);
    canvas.Font().SetSize(12);
    for (const Letter& letter : letters) {
        const double theta = letter.degrees / DegreesPerRadian;
        canvas.TextOut(T(g.labelOrigin + g.letters * std::sin(theta)),
                       T(g.labelOrigin - g.letters * std::cos(theta)), letter.text);
    }
}

void DrawNeedle(TCanvas& canvas, const Geometry& g, double heading)
{
    const auto T = Truncate;
    canvas.Pen().SetWidth(2);
    canvas.Pen().SetColor(HeadingNeedle);
    canvas.MoveTo(T(g.c), T(g.c));
    canvas.LineTo(T(g.c + g.needle * std::sin(heading)), T(g.c - g.needle * std::cos(heading)));
}

void DrawReadout(TCanvas& canvas, const Geometry& g, double heading)
{
    const auto T = Truncate;
    // The box covers the needle's inner end; the brush is still the face's black.
    canvas.Pen().SetColor(HeadingReadout);
    canvas.Pen().SetWidth(2);
    canvas.Rectangle(T(0.8 * g.c), T(0.8 * g.c), T(1.2 * g.c), T(1.1 * g.c));

    canvas.Font().SetColor(HeadingReadout);
    canvas.Font().SetHeight(12);
    canvas.TextOut(T(0.9 * g.c), T(0.9 * g.c), std::to_string(HeadingReadoutDegrees(heading)));
}

} // namespace

int HeadingReadoutDegrees(double heading)
{
    int degrees = Truncate(heading * DegreesPerRadian);
    if (degrees < 0)
        degrees += 360;
    if (degrees >= 360)
        degrees -= 360;
    return degrees;
}

void DrawHeading(double heading, TCanvas& canvas)
{
    const Geometry g = MakeGeometry(canvas);
    DrawFace(canvas);
    DrawTicks(canvas, g);
    DrawLetters(canvas, g);
    DrawNeedle(canvas, g, heading);
    DrawReadout(canvas, g, heading);
}

void DrawHeading(double heading, platform::TImage* image)
{
    DrawHeading(heading, image->Canvas());
}

} // namespace instruments

#include "Attitude.h"

#include "Image.h"
#include "PixelMath.h"

#include <cmath>

namespace instruments {
namespace {

using platform::TCanvas;

// The half-turn that places the sky chord's radials opposite the ground's. This
// literal (a hair short of pi) is part of the picture: at level flight the sky's
// start point lands on x = 104, not 105.
constexpr double HalfTurn = 3.1415926;

struct Rung {
    double halfLength; // relative to the dial radius
    double offset;     // distance from the centre, relative to the dial radius
};

// Pairs at about 30 and 44 degrees of pitch (long), then 10 and 20 (short).
constexpr Rung Ladder[] = {{0.5, 0.495}, {0.5, 0.7}, {1.0 / 3.0, 0.17}, {1.0 / 3.0, 0.34}};

void DrawDial(TCanvas& canvas, double r, double A, double v)
{
    const int w = canvas.Width();
    const int h = canvas.Height();
    const auto T = Truncate;

    canvas.Brush().SetColor(AttitudeGround);
    canvas.Chord(0, 0, w, h, T(r - r * std::cos(A - v)), T(r - r * std::sin(A - v)),
                 T(r + r * std::cos(A + v)), T(r + r * std::sin(A + v)));

    canvas.Brush().SetColor(AttitudeSky);
    const int x3 = T(r - r * std::cos(A + HalfTurn + v));
    const int y3 = T(r - r * std::sin(A + HalfTurn + v));
    const int x4 = T(r + r * std::cos(A + HalfTurn - v));
    const int y4 = T(r + r * std::sin(A + HalfTurn - v));
    // With the nose straight down the horizon shrinks to a point at the top of the
    // rim, both chords become the whole disc, and the sky, painted last, would show
    // a vertical dive as a climb. Then the ground alone is the true picture.
    const bool skyIsWholeDisc = x3 == x4 && y3 == y4;
    if (skyIsWholeDisc && std::sin(v) < 0)
        return;
    canvas.Chord(0, 0, w, h, x3, y3, x4, y4);
}

void DrawLadder(TCanvas& canvas, double r, double A)
{
    const auto T = Truncate;
    for (const Rung& rung : Ladder) {
        const double a = rung.halfLength;
        const double b = rung.offset;
        const double R = std::sqrt(r * r * a * a + r * r * b * b);
        const double phi = std::atan((a * r) / (b * r));
        // Each rung is the level segment at +-b*r turned by A about the centre,
        // drawn left end first; the lower rung of a pair comes first.
        canvas.MoveTo(T(r - R * std::sin(phi + A)), T(r + R * std::cos(phi + A)));
        canvas.LineTo(T(r + R * std::sin(phi - A)), T(r + R * std::cos(phi - A)));
        canvas.MoveTo(T(r - R * std::sin(phi - A)), T(r - R * std::cos(phi - A)));
        canvas.LineTo(T(r + R * std::sin(phi + A)), T(r - R * std::cos(phi + A)));
    }
}

void DrawAircraft(TCanvas& canvas, double r)
{
    const auto T = Truncate;
    const int y = T(r);
    canvas.MoveTo(T(r - r / 1.2), y);
    canvas.LineTo(T(r - r / 4), y);
    canvas.MoveTo(T(r + r / 4), y);
    canvas.LineTo(T(r + r / 1.2), y);
    // The ring's size is in pixels, whatever the picture's size.
    canvas.Ellipse(T(r - 6), T(r - 6), T(r + 6), T(r + 6));
}

} // namespace

void DrawAttitude(double roll, double pitch, TCanvas& canvas)
{
    // Only the width sets the dial; the height bounds the shapes.
    const double r = canvas.Width() * 0.5;
    const double A = -roll;
    const double v = pitch;

    // The background's outline keeps whatever pen the canvas holds.
    canvas.Brush().SetColor(AttitudeBackground);
    canvas.Rectangle(0, 0, canvas.Width(), canvas.Height());

    // Rim and horizon line: the pen colour stays as left (black).
    canvas.Pen().SetWidth(2);
    DrawDial(canvas, r, A, v);

    canvas.Brush().SetStyle(platform::TBrushStyle::bsClear);
    canvas.Pen().SetWidth(2);
    canvas.Pen().SetStyle(platform::TPenStyle::psSolid);
    canvas.Pen().SetColor(AttitudeLadder);
    DrawLadder(canvas, r, A);

    canvas.Pen().SetColor(AttitudeAircraft);
    canvas.Pen().SetWidth(6);
    DrawAircraft(canvas, r);

    canvas.Pen().SetColor(platform::clBlack);
    canvas.Pen().SetWidth(2);
}

void DrawAttitude(double roll, double pitch, platform::TImage* image)
{
    DrawAttitude(roll, pitch, image->Canvas());
}

} // namespace instruments

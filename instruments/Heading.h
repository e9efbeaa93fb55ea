#pragma once
// The compass: a black dial with fixed cardinal letters (north up), a needle
// toward the heading and the heading in whole degrees over the centre. Every call
// repaints the whole picture.
#include "Canvas.h"

namespace platform {
class TImage;
}

namespace instruments {

constexpr platform::TColor HeadingBackground = 0xC0C0C0;
constexpr platform::TColor HeadingFace = 0x000000;
constexpr platform::TColor HeadingTicks = 0xC0C0C0;
constexpr platform::TColor HeadingLetters = 0x0000FF;
constexpr platform::TColor HeadingNeedle = 0xFF0000;
constexpr platform::TColor HeadingReadout = 0xFFFFFF;

// heading in radians, clockwise from north. Leaves the pen white, width 2, the
// brush black and solid, and the font white with a height of 12 pixels.
void DrawHeading(double heading, platform::TCanvas& canvas);
void DrawHeading(double heading, platform::TImage* image);

// The whole degrees the read-out shows: trunc(heading x 57.3), corrected once into
// 0..359 (a heading past two turns is not folded further).
int HeadingReadoutDegrees(double heading);

} // namespace instruments

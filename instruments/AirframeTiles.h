#pragma once
// The airframe pictures of the "Flight Mode" group: eight 137 × 137 tiles side by
// side in one 1096 × 137 strip, tile k showing airframe k of the list "+4", "X4",
// "+6", "X6", "Y6", "Fh8", "X8", "QAV250" seen from above, front up: black arms,
// a black hub with a white arrow to the front, and each motor as a numbered disc,
// orange or blue, with a curved arrow for its spin direction (orange clockwise,
// blue counter-clockwise).
//
// Artwork, drawn once at start-up with antialiasing; the instruments proper draw
// on a TCanvas so that their geometry can be recorded, but a picture has nothing
// worth recording.
#include "Canvas.h"

#include <QImage>

namespace instruments {

constexpr int AirframeTileSize = 137;
constexpr int AirframeTileCount = 8;

// The whole strip, 24-bit colour.
QImage DrawAirframeStrip();

// Tile n of the strip (left, top, right, bottom; right and bottom just outside).
platform::TRect AirframeTileRect(int n);

} // namespace instruments

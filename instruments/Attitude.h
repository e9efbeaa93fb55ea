#pragma once
// The artificial horizon: sky above and ground below a horizon line that tilts
// with roll and moves with pitch, a pitch ladder that tilts with roll, and a fixed
// aircraft symbol. Every call repaints the whole picture.
#include "Canvas.h"

namespace platform {
class TImage;
}

namespace instruments {

// Background, dial and symbol colours (0x00BBGGRR).
constexpr platform::TColor AttitudeBackground = 0xC0C0C0;
constexpr platform::TColor AttitudeGround = 0x3F85CD;
constexpr platform::TColor AttitudeSky = 0xF0CAA6;
constexpr platform::TColor AttitudeLadder = 0xFFFFFF;
constexpr platform::TColor AttitudeAircraft = 0x00FF00;

// roll and pitch in radians; positive roll banks right (the horizon's right end
// rises), positive pitch lowers the horizon. Leaves the pen black, width 2, and
// the brush clear.
void DrawAttitude(double roll, double pitch, platform::TCanvas& canvas);
void DrawAttitude(double roll, double pitch, platform::TImage* image);

} // namespace instruments

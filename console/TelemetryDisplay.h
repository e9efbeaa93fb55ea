#pragma once
// Shows each decoded telemetry frame in the window at once: number texts in the
// user's decimal separator, the channel gauges and sliders (through the channel
// boxes' change handlers), the flight-mode highlight, the airframe picture and
// both instruments. The display keeps no state of its own: the controls are the
// record of the last values, and the highlight and the compass read their input
// back from the texts just written.
#include "Telemetry.h"

namespace console {

class TForm1;

// The degree-to-radian factor of the instruments: the single-precision number
// nearest to 3.1415 / 180, as the controller's own tool uses it (computed from
// 3.1415, not from pi). Products with it are formed in double.
inline constexpr float DegreesToRadians = static_cast<float>(3.1415 / 180.0);

void ShowTelemetry(TForm1& form, const protocol::Telemetry& telemetry);

// Colours the three captions under the CH5 and the CH6 slider from the values
// the channel boxes show: above 1700 the third, between 1350 and 1700 the second,
// below 1350 the first in red. Both bounds are strict, so exactly 1350 or 1700
// leaves the captions as they were.
void HighlightFlightModes(TForm1& form);

} // namespace console

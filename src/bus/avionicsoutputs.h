#pragma once

// The outputs of the process loop for the avionics modules on the gauge
// bus: the radios, the transponders, the DME units, the autopilot panel and
// the audio panel. Their knobs and buttons reach the simulator through the
// reply handler; here they get what they must display from the simulator,
// and each is asked for its status in its turn.

#include "config/tables.h"

namespace varnet {

struct ProcessHandlers;

void InstallAvionicsOutputs(ProcessHandlers& handlers);

// What the autopilot and audio-panel outputs keep from tick to tick and
// from run to run (program-wide).
struct AvionicsOutputState {
    Integer APVerticalSpeedSent = 0;  // the vertical speed last sent to the panel
    Integer APModeBitsPrev = 0;       // the panel's mode bits when the lamps were last set
    Integer APValue100Prev = 0;       // the value the trend was last measured from
    Integer APAltitudeAway = 0;       // 1 while more than 100 ft from the preselected altitude
    Integer APTrendCounter = 0;       // 0..16: ticks until the trend is measured again
    Integer APTrendBits = 0;          // 12288 rising, 24576 falling, 0 steady
    Integer AudioPanelLampBits = 0;   // 1, 2, 4: the panel's three lamps
};

extern AvionicsOutputState AvionicsOutputs;

} // namespace varnet

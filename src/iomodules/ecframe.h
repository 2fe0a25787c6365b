#pragma once

// The output frame of the stand-alone engine cluster: 40 bytes, "F", the
// positions of its eight needles (two bytes each, high byte first, in the
// places the cluster reads them), a flags byte, and 0xAA 0xAA. The
// calibration window moves one needle with it (all others at 0); the run
// sends every needle's position in one frame.

#include "config/tables.h"

#include <QByteArray>

#include <array>
#include <optional>

namespace varnet {

// The needles the frame carries, index 0..7.
inline constexpr int kECFrameNeedles = 8;
// The cluster counts four of its steps for one step of a plate (or of the
// calibration window's slider).
inline constexpr int kECStepsPerPlateStep = 4;
inline constexpr int kECLargestPosition = 0xFFFF;

using ECPositions = std::array<int, kECFrameNeedles>;

// The flags byte: bit 0 the backlight on, bit 1 the displays off.
char ECFlags(Byte backlightOn, Byte displaysOn);

// The frame; positions outside 0..65535 are limited to it.
QByteArray ComposeECFrame(const ECPositions& positions, char flags);

// The 0-based offset of needle `needle`'s high byte in the frame.
int ECNeedleOffset(int needle);

// The position that plate steps give on the cluster: steps times 4, kept
// within the two bytes of the frame (below 0 gives 0).
int ECPosition(int plateSteps);

// The steps of needle `needle` (0..7) for the simulator value `value`,
// through the needle's plate (ECNeedlePlate); nothing for a needle whose
// plate gives no position (no such plate, a value that is not a number).
std::optional<int> ECNeedleSteps(int needle, Single value, const ConfigTables& tables = Cfg);

// When the run sends: a frame that differs from the last one sent, and the
// same frame again once the one-second tick asked for it, so that a cluster
// switched on during a run gets its needles within a second.
class ECFrameGate {
public:
    // Whether `frame` goes out now, given the last frame sent (ECFrame).
    bool due(const QByteArray& frame, const QByteArray& lastSent) const { return resend_ || frame != lastSent; }
    void sent() { resend_ = false; }
    // The one-second tick.
    void second() { resend_ = true; }

private:
    bool resend_ = false;
};

} // namespace varnet

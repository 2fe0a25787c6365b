#include "iomodules/ecframe.h"

#include "bus/platelookup.h"
#include "bus/standalonelinks.h"

#include <algorithm>

namespace varnet {

namespace {

// The 0-based offset of each needle's high byte: the cluster does not read
// its needles in order.
constexpr std::array<int, kECFrameNeedles> kNeedleOffsets = {1, 3, 5, 21, 7, 11, 13, 15};
constexpr int kFlagsOffset = 37;
constexpr char kBacklightBit = 0x01;
constexpr char kDisplaysOffBit = 0x02;
constexpr char kEndMark = char(0xAA);

} // namespace

char ECFlags(Byte backlightOn, Byte displaysOn)
{
    return char((backlightOn == 1 ? kBacklightBit : 0) | (displaysOn == 0 ? kDisplaysOffBit : 0));
}

int ECNeedleOffset(int needle)
{
    return kNeedleOffsets[std::size_t(needle)];
}

QByteArray ComposeECFrame(const ECPositions& positions, char flags)
{
    QByteArray frame(kECFrameBytes, '\0');
    frame[0] = 'F';
    for (int needle = 0; needle < kECFrameNeedles; ++needle) {
        const int position = std::clamp(positions[std::size_t(needle)], 0, kECLargestPosition);
        const int at = ECNeedleOffset(needle);
        frame[at] = char(position >> 8);
        frame[at + 1] = char(position & 0xFF);
    }
    frame[kFlagsOffset] = flags;
    frame[kFlagsOffset + 1] = kEndMark;
    frame[kFlagsOffset + 2] = kEndMark;
    return frame;
}

int ECPosition(int plateSteps)
{
    // Limited before multiplying: a hand-made plate may hold any Integer.
    return std::clamp(plateSteps, 0, kECLargestPosition / kECStepsPerPlateStep) * kECStepsPerPlateStep;
}

std::optional<int> ECNeedleSteps(int needle, Single value, const ConfigTables& tables)
{
    if (needle < 0 || needle >= kECFrameNeedles)
        return std::nullopt;
    return PlateValueToSteps(tables.ECNeedlePlate[std::size_t(needle)], value, tables);
}

} // namespace varnet

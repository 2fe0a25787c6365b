#pragma once

namespace varnet {

// Gauge type codes, as the gauges and modules report them on the bus and
// the gauge records store them (0 = no gauge).
enum GaugeTypeCode : int {
    SingleNeedleType = 1,
    SingleNeedleDisplayType = 2,
    DualNeedleType = 3,
    LargeSingleNeedleType = 4,
    LargeDualNeedleType = 5,
    SmallDualNeedleType = 6,
    EngineClusterType = 8,
    IOModuleType = 10,
    AltimeterType = 101,
    AttitudeIndicatorType = 103,
    AirlinerClockType = 104,
    HeadingIndicatorType = 105,
    VOR1Type = 106,
    VOR2Type = 107,
    ADFIndicatorType = 108,
    LightAircraftClockType = 109,
    GenericRadioType = 110,
    RadioModuleType = 111,
    PanelTransponderType = 112,
    DMEIndicatorType = 113,
    AirlinerTransponderType = 114,
    COMNAVRadioType = 120,
    ADFRadioType = 121,
    TransponderType = 122,
    DMEType = 123,
    AutopilotType = 124,
    AudioPanelType = 125,
    RMIType = 130,
};

} // namespace varnet

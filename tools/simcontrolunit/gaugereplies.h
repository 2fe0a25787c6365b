#pragma once

// The 25-byte status replies of the instruments and avionics modules that
// report back, composed the way their hardware composes them, for a test
// to hand to SimControlUnit::setStatusReply or to a fake port. Bytes are
// numbered 1..25; a word "b hi:lo" is hi x 256 + lo. Each builder puts in
// the two marker letters its kind carries in bytes 9 and 6. (The bus I/O
// module's reply is SimControlUnit::ioModuleReply.)

#include <QByteArray>
#include <QDateTime>

namespace varnet::testing {

// A radio's frequency word: kHz above 100 MHz (122.700 MHz is 22700).
int radioWord(double megahertz);
// An ADF receiver's word: tenths of a kHz (350.5 kHz is 3505).
int adfWord(double kilohertz);

// VOR 1 (106), VOR 2 (107) or ADF indicator (108): the course knob's count
// in b 7:8, 1084 counts a turn backwards from north.
QByteArray courseKnobReply(int gaugeID, int typeCode, int knobCount);
// Heading indicator (105): the heading in b 10:11 and the selected heading
// in b 7:8, both in steps of a 4320-step turn.
QByteArray headingReply(int gaugeID, int headingSteps, int selectedSteps);
// Altimeter (101): its barometer setting in b 7:8 (signed), in hundredths
// of an inHg (b 4 = 1) or in hPa.
QByteArray altimeterReply(int gaugeID, int setting, bool inHg);
// Altimeter (101): its barometer knob turned by `clicks` (b 10 = 1, b 12
// counts around 128).
QByteArray altimeterKnobReply(int gaugeID, int clicks);
// Airliner clock (104): year since 2000, month, day in b 7..9, hour, minute,
// second in b 11..13.
QByteArray clockReply(int gaugeID, const QDateTime& time);
// Generic radio (110), radio module (111) or ADF radio (121): the active
// and the standby word in b 7:8 and b 10:11.
QByteArray radioReply(int gaugeID, int typeCode, int activeWord, int standbyWord);
// COM/NAV radio (120): COM in b 7:8, COM standby b 10:11, NAV b 13:14, NAV
// standby b 16:17; b 23 holds its flags.
QByteArray comNavReply(int gaugeID, double com, double comStandby, double nav, double navStandby, int flags = 0);
// Transponders 112, 114 (the active code in b 7:8, b 15 = 1) and 122 (b 7:8):
// one octal digit per nibble; the mode switch in b 17, ident in b 13.
QByteArray transponderReply(int gaugeID, int typeCode, int squawk, int mode, int ident = 0);
// DME indicator (113): the selector switch in b 17 (2 = NAV 1, 4 = NAV 2).
QByteArray dmeIndicatorReply(int gaugeID, int selector);
// DME (123) following a NAV radio: b 17 = 1, the radio's number less one in b 22.
QByteArray dmeNavReply(int gaugeID, int navRadio);
// DME (123) on its own source: b 17 = 3, the source in b 24 (0 NAV 1, 1 NAV 2,
// 2 and 3 its own frequency for NAV 1 or NAV 2, the word in b 20:19).
QByteArray dmeOwnReply(int gaugeID, int source, int frequencyWord = 0);
// Autopilot (124): mode buttons b 22, status b 24 (0: nothing set), the
// preselected altitude b 7:8, the vertical speed b 10:11 (both signed), the
// barometer b 19:20 and its flags b 23.
QByteArray autopilotReply(int gaugeID, int modeBits, int altitudeFeet, int verticalSpeed, int status = 1,
                          int baroSetting = 0, int flags = 0);
// Audio panel (125): its two button bytes b 7, b 8 and its status b 10.
QByteArray audioPanelReply(int gaugeID, int buttons1, int buttons2, int status = 0);

} // namespace varnet::testing

#include "simcontrolunit/gaugereplies.h"

#include "simcontrolunit/simcontrolunit.h"

#include <cmath>

namespace varnet::testing {

namespace {

// A reply being composed, its bytes numbered 1..25.
class Composer {
public:
    Composer(int gaugeID, int typeCode) : bytes_(SimControlUnit::reply(gaugeID, typeCode)) {}

    Composer& at(int n, int value)
    {
        bytes_[n - 1] = char(value & 0xFF);
        return *this;
    }
    Composer& word(int hi, int lo, int value) { return at(hi, value >> 8).at(lo, value); }
    Composer& marks(char b9, char b6) { return at(9, b9).at(6, b6); }

    operator QByteArray() const { return bytes_; }

private:
    QByteArray bytes_;
};

// 7700 as the nibbles 7, 7, 0, 0.
int squawkWord(int squawk)
{
    const int digits[] = {squawk / 1000 % 10, squawk / 100 % 10, squawk / 10 % 10, squawk % 10};
    return digits[0] << 12 | digits[1] << 8 | digits[2] << 4 | digits[3];
}

} // namespace

int radioWord(double megahertz)
{
    return int(std::lround((megahertz - 100) * 1000));
}

int adfWord(double kilohertz)
{
    return int(std::lround(kilohertz * 10));
}

QByteArray courseKnobReply(int gaugeID, int typeCode, int knobCount)
{
    return Composer(gaugeID, typeCode).marks('A', 'C').word(7, 8, knobCount);
}

QByteArray headingReply(int gaugeID, int headingSteps, int selectedSteps)
{
    return Composer(gaugeID, 105).word(10, 11, headingSteps).word(7, 8, selectedSteps);
}

QByteArray altimeterReply(int gaugeID, int setting, bool inHg)
{
    return Composer(gaugeID, 101).marks('P', 'P').at(4, inHg ? 1 : 0).word(7, 8, setting);
}

QByteArray altimeterKnobReply(int gaugeID, int clicks)
{
    return Composer(gaugeID, 101).marks('P', 'P').at(10, 1).at(12, 128 + clicks);
}

QByteArray clockReply(int gaugeID, const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return Composer(gaugeID, 104)
        .at(7, d.year() - 2000)
        .at(8, d.month())
        .at(9, d.day())
        .at(11, t.hour())
        .at(12, t.minute())
        .at(13, t.second());
}

QByteArray radioReply(int gaugeID, int typeCode, int activeWord, int standbyWord)
{
    return Composer(gaugeID, typeCode).marks('S', 'A').word(7, 8, activeWord).word(10, 11, standbyWord);
}

QByteArray comNavReply(int gaugeID, double com, double comStandby, double nav, double navStandby, int flags)
{
    return Composer(gaugeID, 120)
        .marks('S', 'C')
        .word(7, 8, radioWord(com))
        .word(10, 11, radioWord(comStandby))
        .word(13, 14, radioWord(nav))
        .word(16, 17, radioWord(navStandby))
        .at(23, flags);
}

QByteArray transponderReply(int gaugeID, int typeCode, int squawk, int mode, int ident)
{
    Composer reply(gaugeID, typeCode);
    reply.marks(typeCode == 122 ? 'F' : 'Y', 'X').word(7, 8, squawkWord(squawk)).at(17, mode).at(13, ident);
    if (typeCode != 122)
        reply.at(15, 1);
    return reply;
}

QByteArray dmeIndicatorReply(int gaugeID, int selector)
{
    return Composer(gaugeID, 113).marks('D', 'S').at(17, selector);
}

QByteArray dmeNavReply(int gaugeID, int navRadio)
{
    return Composer(gaugeID, 123).marks('D', 'S').at(17, 1).at(22, navRadio - 1);
}

QByteArray dmeOwnReply(int gaugeID, int source, int frequencyWord)
{
    return Composer(gaugeID, 123).marks('D', 'S').at(17, 3).at(24, source).word(20, 19, frequencyWord);
}

QByteArray autopilotReply(int gaugeID, int modeBits, int altitudeFeet, int verticalSpeed, int status,
                          int baroSetting, int flags)
{
    return Composer(gaugeID, 124)
        .marks('V', 'A')
        .at(22, modeBits)
        .at(24, status)
        .word(7, 8, altitudeFeet)
        .word(10, 11, verticalSpeed)
        .word(19, 20, baroSetting)
        .at(23, flags);
}

QByteArray audioPanelReply(int gaugeID, int buttons1, int buttons2, int status)
{
    return Composer(gaugeID, 125).at(7, buttons1).at(8, buttons2).at(10, status);
}

} // namespace varnet::testing

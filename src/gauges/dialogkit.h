#pragma once

// What every configuration dialog of the gauges and avionics modules does
// the same way, without a widget: the gauge the dialog is for, the record
// fields it clears and writes, Apply, the move to a new GaugeID, Uninstall,
// the lamp and backlight words, reading the gauge's reply, and reading
// numbers from text boxes. A dialog keeps only its own commands, words and
// fields; the Qt frame around this is dialogframe.h.

#include "bus/runstate.h"
#include "config/choicelists.h"
#include "config/tables.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnet {

// ---- Record fields ----------------------------------------------------------

// The fields of a gauge record, as a set: a dialog names what Apply clears
// and what Uninstall clears in one line each.
using FieldSet = std::uint16_t;
namespace Field {
inline constexpr FieldSet Type = 1 << 0;
inline constexpr FieldSet Model = 1 << 1;
inline constexpr FieldSet Version = 1 << 2;
inline constexpr FieldSet Category1 = 1 << 3;
inline constexpr FieldSet Function1 = 1 << 4;
inline constexpr FieldSet SeqNr1 = 1 << 5;
inline constexpr FieldSet Plate1 = 1 << 6;
inline constexpr FieldSet Category2 = 1 << 7;
inline constexpr FieldSet Function2 = 1 << 8;
inline constexpr FieldSet SeqNr2 = 1 << 9;
inline constexpr FieldSet Plate2 = 1 << 10;

inline constexpr FieldSet Identity = Type | Model | Version;
inline constexpr FieldSet Assignment1 = Category1 | Function1 | SeqNr1;
inline constexpr FieldSet Assignment2 = Category2 | Function2 | SeqNr2;
inline constexpr FieldSet Needle1 = Assignment1 | Plate1;
inline constexpr FieldSet All = Identity | Needle1 | Assignment2 | Plate2;

// What Uninstall clears, by dialog family.
inline constexpr FieldSet IdentityAndNeedle1 = Identity | Needle1;
inline constexpr FieldSet TypeAndBothAssignments = Type | Needle1 | Assignment2;
inline constexpr FieldSet TypeAndNeedle1 = Type | Needle1;
} // namespace Field

// One gauge record, read out of the tables or to be written into them.
struct GaugeRecord {
    int type = 0, model = 0, version = 0;
    int category1 = 0, function1 = 0, seqNr1 = 0, plate1 = 0;
    int category2 = 0, function2 = 0, seqNr2 = 0, plate2 = 0;

    static GaugeRecord Read(const ConfigTables& tables, int gaugeID);
    // Writes the fields of `fields` at `gaugeID`.
    void Write(ConfigTables& tables, int gaugeID, FieldSet fields) const;
    bool operator==(const GaugeRecord&) const = default;
};

// Fields a dialog writes at once, before Apply: the configuration counts as
// changed when a stored value changes.
void WriteAtOnce(int gaugeID, FieldSet fields, const GaugeRecord& values);

// Sets the fields of `fields` at `gaugeID` to 0.
void ClearFields(ConfigTables& tables, int gaugeID, FieldSet fields);

// ---- Messages ---------------------------------------------------------------

inline constexpr const char* kNotConnected =
    "Gauge is not connected; Search/Check connections\r\nNew GaugeID cannot be written to Gauge";
inline constexpr const char* kNewIDNotWritten = "New GaugeID cannot be written to Gauge";
inline constexpr const char* kNewIDRule = "The new GaugeID must be a free GaugeID between 1 and 255";
inline constexpr const char* kUninstallQuestion =
    "This will delete this gauge from the current configuration!\r\nContinue anyway?";
inline constexpr const char* kAssignmentIncorrect = "Assignment incorrect or incomplete";
inline constexpr const char* kNoPlate = "No Plate selected";

// ---- The gauge a dialog is for ------------------------------------------------

// How a dialog moves its gauge to a new GaugeID.
enum class MovePolicy {
    // Only a connected gauge (bus status 2) moves; afterwards the old ID
    // counts as not connected (1) and the new one as connected (2).
    Connected,
    // Only a connected gauge moves; the bus status stays as it is.
    ConnectedKeepStatus,
    // The gauge is told its new ID whatever the bus status.
    Always,
};

// A dialog's hold on its gauge: the GaugeID and type are taken once, when the
// dialog loads, and the GaugeID changes only when this dialog moves the
// gauge. Everything the dialog sends or writes goes to `gaugeID`.
class GaugeContext {
public:
    // From CurrentGaugeID and CurrentGaugeTypeName, as the configuration
    // screen set them for this dialog.
    static GaugeContext Capture();
    GaugeContext(int gaugeID, std::string typeName);

    int gaugeID() const { return gaugeID_; }
    int typeCode() const { return typeCode_; }
    const std::string& typeName() const { return typeName_; }
    GaugeRecord record() const { return GaugeRecord::Read(Cfg, gaugeID_); }

    // One command frame to the gauge; false when nothing was queued.
    bool Send(int command, double value) const;
    // The gauge's status reply, fresh and its own; nothing when none came.
    std::optional<QByteArray> Read(int requestValue = 0) const;
    // A periodic poll's status request and the reply to it (gaugelink.h):
    // neither waits.
    bool Ask(int requestValue) const;
    std::optional<QByteArray> Answer() const;

    // The GaugeID typed as the target of a move: nothing for an empty text;
    // the number when it is a free GaugeID 1..255 other than this one;
    // -1 (after saying why) otherwise. Checked at the moment of the move.
    std::optional<int> MoveTarget(const QString& text) const;

    // Moves the gauge on the bus to `target` under `policy`: true when the
    // gauge now answers to `target` (the context follows it). Says why when
    // it does not move.
    bool MoveGauge(int target, MovePolicy policy);

    // "Set" beside the new GaugeID: the gauge moves at once and its whole
    // record goes with it. false (nothing changed) when it did not move.
    bool MoveWithRecord(const QString& targetText, MovePolicy policy = MovePolicy::Connected);

private:
    int gaugeID_;
    int typeCode_;
    std::string typeName_;
};

// ---- Apply and Uninstall ------------------------------------------------------

// What one dialog's Apply consists of. Every input is checked (validate may
// ask questions and show messages) before anything is cleared, moved or
// written, so a refused Apply leaves the record as it was.
struct ApplySteps {
    std::function<bool()> validate;          // false: nothing written, the dialog stays
    FieldSet clears = Field::Identity;       // cleared at the old GaugeID
    MovePolicy move = MovePolicy::Connected;
    std::function<void(int gaugeID)> write;  // the dialog's own fields, at the final GaugeID
    std::function<void()> afterwards;        // sends once written (the dialog still open)
};

// Runs Apply: validate, check the move target, remember type, model and
// version, clear, move, write the identity and the dialog's fields at the
// GaugeID the gauge now has, mark the configuration changed, send.
// true when the dialog is to close.
bool ApplyRecord(GaugeContext& context, const QString& newIDText, const ApplySteps& steps);

// Asks first when `ask` (every dialog but one does); on Yes clears `fields`
// and marks the configuration changed. true when the dialog is to close.
bool UninstallRecord(const GaugeContext& context, FieldSet fields, bool ask = true);

// ---- Words --------------------------------------------------------------------

// The lamp word of command 8: backlight on 64 (0x40), off 15 (0x0F).
inline constexpr int kLampOn = 0x40;
inline constexpr int kLampOff = 0x0F;
// Added to the lamp word where a gauge or module has displays.
inline constexpr int kDisplaysOn = 0x80;

enum class PowerOnLight { None, AlwaysOn, On, Off };

struct BacklightSettings {
    int brightness = 0;  // 0..15
    bool setDefault = false;
    PowerOnLight powerOn = PowerOnLight::None;
    bool displays = false;  // counts only where the family has the displays bit
};

// The backlight word of command 8: 0x50 | brightness, 0x20 for "Set as
// default", 0x100 / 0x200 / 0x400 for the power-on choice, 0x80 for the
// displays where `withDisplaysBit`.
int BacklightWord(const BacklightSettings& settings, bool withDisplaysBit = false);

// Command 13's display brightness: night adds 32.
inline int DayNightWord(int brightness, bool night) { return brightness + (night ? 32 : 0); }

// A calibration counter stepped past its ends jumps to the other end:
// above `top` it becomes 0, below 0 it becomes `top`.
inline int JumpWrap(int value, int top) { return value > top ? 0 : value < 0 ? top : value; }

// ---- Replies ------------------------------------------------------------------

// A gauge's 25-byte reply, read by the byte positions the dialogs give
// (1-based, as the hardware manuals count).
class Reply {
public:
    explicit Reply(QByteArray bytes) : bytes_(std::move(bytes)) {}

    int byte(int position) const;
    // Two bytes as one unsigned word, high byte first (or low first).
    int word(int highPosition, int lowPosition) const { return byte(highPosition) * 256 + byte(lowPosition); }
    // The same read as a two's-complement 16-bit value.
    int signedWord(int highPosition, int lowPosition) const { return std::int16_t(word(highPosition, lowPosition)); }
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

// ---- Numbers typed into boxes -------------------------------------------------

// The leading number of the text, 0 when there is none ("12 mS" reads 12);
// +-infinity for a number too large for a double.
double LenientNumber(const QString& text);
// The whole text as a number, nothing otherwise.
std::optional<double> StrictNumber(const QString& text);
// The leading number as a calibration counter steps it: whole, and kept
// within +-1e6, so a huge text is a value past the counter's end (which the
// counter's wrap catches), never an overflow.
int LenientCounter(const QString& text);
// Nearest whole number, halves to even; beyond long long it saturates.
long long RoundHalfEven(double value);

// The whole text as a whole number within [minimum, maximum]; otherwise the
// rule is shown and nothing is returned.
std::optional<int> ReadWholeNumber(const QString& text, int minimum, int maximum, const QString& rule);
// A value computed from typed text, checked against [minimum, maximum] the
// same way.
std::optional<int> CheckRange(double value, int minimum, int maximum, const QString& rule);

// "Value must be a whole number between 0 and 65535" for a box's rule.
QString RangeRule(const QString& what, int minimum, int maximum);

} // namespace varnet

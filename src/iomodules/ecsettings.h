#pragma once

// The settings of the stand-alone engine cluster as its settings window
// edits them: per needle (0..7, the needles its frame drives) a function,
// chosen by category as in the gauge dialogs, a plate from the plates of
// the "Engines" category, and whether it has a display; and the cluster
// type. Every edit goes into the configuration tables at once and marks
// the configuration changed.

#include "config/choicelists.h"
#include "config/tables.h"

#include <QString>

#include <optional>
#include <string>

namespace varnet {

// The category whose plates the cluster's needles use, as the calibration
// window lists them for it.
inline constexpr int kECPlateCategory = 1;
// Element 9 of ECNeedleDisplay holds the cluster type.
inline constexpr int kECTypeElement = 9;
inline constexpr int kECSingleEngine = 1;
inline constexpr int kECDualEngine = 2;

// The positions the cluster's frame carries; the settings window's test box
// refuses any other with this rule.
inline constexpr const char* kTestPositionRule = "A needle position must be a whole number between 0 and 65535";

// The position typed into the test box: the whole text a whole number
// within the rule's range, blanks around it allowed; nothing otherwise.
std::optional<int> ReadTestPosition(const QString& text);

// What the needle's stored plate is to the settings window: one of the
// plates its Plate box offers, a plate of another category, or a number
// with no plate behind it. The run uses the stored plate in each case.
enum class ECPlateKind { Engines, OtherCategory, Missing };

// What the calibration window is opened with for one needle.
struct ECCalibration {
    int needleNr = 1;  // the needle's index + 1
    std::string categoryName;  // the name of category 1
    std::string functionName;  // the function's text as the window lists it
    int functionNr = 0;
    int seqNr = 1;
    int plateNr = -1;  // -1: no "Engines" plate chosen, none is selected there
    bool operator==(const ECCalibration&) const = default;
};

class ECSettings {
public:
    explicit ECSettings(ConfigTables& tables = Cfg, SessionState& session = Session)
        : tables_(tables), session_(session)
    {
    }

    // The category the needle's function is listed under; "Engines" for a
    // needle without a function.
    int category(int needle) const;
    // The functions the needle can take in `category`.
    ListItems functions(int category) const { return GaugeFunctionItems(tables_, category); }
    ListItems plates() const { return CategoryPlateItems(tables_, kECPlateCategory); }

    int function(int needle) const { return tables_.ECNeedleFunction[index(needle)]; }
    int plate(int needle) const { return tables_.ECNeedlePlate[index(needle)]; }
    bool display(int needle) const { return tables_.ECNeedleDisplay[index(needle)] != 0; }
    int clusterType() const { return tables_.ECNeedleDisplay[kECTypeElement]; }

    // Each writes the table and marks the configuration changed when the
    // value really changes, and says whether it did. Function 0: none.
    bool setFunction(int needle, int function);
    bool setPlate(int needle, int plate);
    bool setDisplay(int needle, bool on);
    bool setClusterType(int type);

    // An edit was made through this object.
    bool edited() const { return edited_; }

    ECPlateKind plateKind(int needle) const;
    // The needle's stored plate when it is one the Plate box offers.
    std::optional<int> enginesPlate(int needle) const;
    // The needle's plate as the list line and the Plate box both show it:
    // the box's item for an "Engines" plate, otherwise the stored number
    // (with the plate's name) and what is wrong with it.
    QString plateText(int needle) const;
    // Said under the Plate box where the stored plate is not one it offers:
    // what the run does with it and what to do; empty otherwise.
    QString plateNote(int needle) const;

    // The needle's line in the window's list: its number, function, plate
    // and display.
    QString needleText(int needle) const;

    // The hand-over for calibrating needle `needle` with the function text
    // its box shows; nothing when the function box is empty. The plate is
    // the needle's "Engines" plate; none for any other: the calibration
    // window lists the "Engines" plates only, and calibrating a plate of
    // another category from here would change the dial of another gauge.
    std::optional<ECCalibration> calibration(int needle, const QString& functionText) const;

private:
    static std::size_t index(int needle) { return std::size_t(needle); }
    bool set(Integer& field, int value);

    ConfigTables& tables_;
    SessionState& session_;
    bool edited_ = false;
};

} // namespace varnet

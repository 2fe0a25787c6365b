#include "app/dispatch.h"

#include "app/configscreen.h"
#include "app/configunknown.h"
#include "bus/sendpath.h"
#include "config/gaugetypes.h"
#include "iomodules/configiom.h"

#include <map>

namespace varnet {

namespace {

struct DialogRow {
    std::string_view name;
    std::vector<int> typeCodes;
};

constexpr int kAnalogueAltimeterVersion = 5;
constexpr int kDialogTypeRows = 127;

const std::vector<DialogRow>& dialogRows()
{
    // Type 101 stands under both altimeters; GaugeDialogName tells them
    // apart by the version byte.
    static const std::vector<DialogRow> rows = {
        {"ConfigGaugeSN", {1, 4}},
        {"ConfigGaugeSD", {2}},
        {"ConfigGaugeDN", {3, 5, 6}},
        {"ConfigCessnaEngineCluster", {8}},
        {"ConfigIOM", {10}},
        {"ConfigGaugeAD", {AltimeterType}},
        {"ConfigAnalogueAltimeter", {AltimeterType}},
        {"ConfigGaugeAI", {103}},
        {"ConfigBoeingClock", {104}},
        {"ConfigDG", {105}},
        {"ConfigGaugeVOR", {106, 107}},
        {"ConfigADF", {108}},
        {"ConfigCessnaClock", {109}},
        {"ConfigVHFRadio", {110}},
        {"ConfigCL30Radio", {111}},
        {"configCL30Transponder", {112}},
        {"ConfigDME", {113}},
        {"ConfigTransponder737", {114}},
        {"ConfigBKradio", {120}},
        {"ConfigBKADF", {121}},
        {"ConfigBKtransponder", {122}},
        {"ConfigBKDME", {123}},
        {"ConfigBKAP", {124}},
        {"ConfigBKaudioPanel", {125}},
        {"ConfigRMI", {130}},
        {kUnknownDeviceDialog, {}},
    };
    return rows;
}

GaugeDialogOpener defaultOpener(std::string_view dialog)
{
    if (dialog == "ConfigIOM")
        return &ConfigIOM::Open;
    // The unknown-device window, and in its place any dialog whose library
    // registered no opener.
    return [] {
        const bool wasLoaded = DefaultForm<frmConfigUnknown>::loaded();
        frmConfigUnknown& window = DefaultForm<frmConfigUnknown>::get();
        if (!wasLoaded)
            window.Initialize(CurrentGaugeID);
        window.show();
    };
}

std::map<std::string, GaugeDialogOpener, std::less<>>& openers()
{
    static std::map<std::string, GaugeDialogOpener, std::less<>> table;
    return table;
}

} // namespace

std::string_view GaugeDialogName(int typeCode, int version)
{
    if (typeCode == AltimeterType)
        return version == kAnalogueAltimeterVersion ? "ConfigAnalogueAltimeter" : "ConfigGaugeAD";
    for (const DialogRow& row : dialogRows())
        for (int code : row.typeCodes)
            if (code == typeCode)
                return row.name;
    return kUnknownDeviceDialog;
}

const std::vector<std::string_view>& GaugeDialogNames()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const DialogRow& row : dialogRows())
            all.push_back(row.name);
        return all;
    }();
    return names;
}

std::string DialogTypeName(const ConfigTables& tables, int typeCode)
{
    return TypeNameInRows(tables, typeCode, 1, kDialogTypeRows, "Unknown");
}

void SetGaugeDialogOpener(std::string_view dialog, GaugeDialogOpener opener)
{
    if (opener)
        openers().insert_or_assign(std::string(dialog), std::move(opener));
    else if (auto it = openers().find(dialog); it != openers().end())
        openers().erase(it);
}

void OpenGaugeDialog(int gaugeID)
{
    if (gaugeID < 0 || gaugeID >= kGaugeRows)
        gaugeID = 0;
    const int type = Cfg.GaugeRecType[gaugeID];
    CurrentGaugeID = Integer(gaugeID);
    CurrentGaugeTypeName = DialogTypeName(Cfg, type);
    // Every opened dialog counts as an edit.
    Session.ConfigChanged = 1;

    const std::string_view dialog = GaugeDialogName(type, Cfg.GaugeRecVersion[gaugeID]);
    // Copied: an opener may replace itself while it runs.
    GaugeDialogOpener open;
    if (auto it = openers().find(dialog); it != openers().end())
        open = it->second;
    else
        open = defaultOpener(dialog);
    open();
}

} // namespace varnet

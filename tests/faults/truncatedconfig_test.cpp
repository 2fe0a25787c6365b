// A configuration file cut short at every section boundary, as a full disk or a copy broken off
// leaves it, loaded over a working configuration from the Load/Save window.

#include "app/saveconfig.h"
#include "app/window_helpers.h"
#include "benchmarks/full_config.h"
#include "config/configfile.h"
#include "config/itemtext.h"
#include "support/scripted_messages.h"
#include "support/workdir.h"

#include <QFile>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

const char* const kSections[] = {"General", "IOM", "Functions", "Gaugetypes", "Gauges", "Engine Cluster Settings",
                                 "Plates", "General FFB Yoke", "Yoke1", "Yoke2", "User Defined Yoke Switches",
                                 "Active Indexes", "Force Curves", "end"};

std::string fileBytes(const char* name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

TEST(TruncatedConfigFile, EveryCutAtASectionBoundaryIsReportedOnceAndLosesNothing)
{
    ScopedWorkDir dir;
    Session = SessionState{};
    Session.ProgramTitle = kProgramTitle;
    Session.ConfigFileName = "working.cfg";
    Cfg = benchmarking::fullConfig();
    const ConfigTables working = Cfg;
    const std::string whole = SerializeConfig(working);

    // Just before each section's name and just after it (but for the last, which ends the file).
    std::vector<std::size_t> cuts;
    for (const char* section : kSections) {
        const std::size_t at = whole.find("\"" + std::string(section) + "\"\r\n");
        ASSERT_NE(at, std::string::npos) << section;
        cuts.push_back(at);
        cuts.push_back(whole.find('\n', at) + 1);
    }
    cuts.pop_back();
    for (const std::size_t cut : cuts) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut) + " of " + std::to_string(whole.size()));
        const std::string broken = whole.substr(0, cut);
        ASSERT_TRUE(writeFileSafely("broken.cfg", broken, nullptr));
        {
            ScriptedMessages boxes;
            boxes.expectYesNoDefaultNo("This will overwrite the current configuration! Continue?", true);
            boxes.expectOk(ConfigErrorText("broken.cfg", kErrorPastEnd));
            SaveConfig& window = DefaultForm<SaveConfig>::get();
            child<QLineEdit>(window, "FileName")->setText("broken.cfg");
            click(window, "CmdLoad");
        }
        EXPECT_TRUE(Cfg == working);
        EXPECT_EQ(Session.ConfigFileName, "working.cfg") << "a later save would go to the broken file";
        EXPECT_EQ(Session.ConfigError, 1);
        EXPECT_EQ(fileBytes("broken.cfg"), broken);
        flushDeletes();
    }
    Session = SessionState{};
    Cfg = ConfigTables{};
}

} // namespace
} // namespace varnet

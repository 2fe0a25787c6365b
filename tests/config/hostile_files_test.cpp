#include "config/configfile.h"
#include "config/hostile_files.h"
#include "config/sample_config.h"
#include "config/startfile.h"
#include "support/scripted_messages.h"
#include "support/workdir.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

class HostileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = sampleConfig();
        Session = SessionState{};
        Session.ProgramTitle = kProgramTitle;
    }

    ScopedWorkDir dir_;
    ScriptedMessages boxes_;
};

TEST_F(HostileFileTest, OnlyRegularFilesOfAConfigurationsSizeAreReadAndNothingWaits)
{
    const Fifo fifo("fifo.cfg");
    ASSERT_EQ(::symlink("/dev/zero", "zero.cfg"), 0);
    writeSparseFile("huge.cfg", off_t(100) << 20);
    const ConfigTables before = Cfg;
    QElapsedTimer clock;
    clock.start();
    for (const auto& [name, description] : {std::pair{"fifo.cfg", "Not a regular file"},
                                            std::pair{"zero.cfg", "Not a regular file"},
                                            std::pair{"huge.cfg", "File too large (over 64 MB)"}}) {
        SCOPED_TRACE(name);
        Session.ConfigFileName = name;
        boxes_.expectOk(QString::fromLatin1(kConfigErrorMessage) + description);
        ReadConfigFile();
        EXPECT_EQ(Session.ConfigError, 1);
        EXPECT_TRUE(Cfg == before);
    }

    // The start file never reports: such a file gives the defaults.
    const Fifo startFifo(kStartFileName);
    std::string name;
    ReadStartFile(name);
    EXPECT_EQ(name, kDefaultConfigFile);
    EXPECT_LT(clock.elapsed(), 2000) << "a reader waited for a FIFO";
}

TEST_F(HostileFileTest, AFullDiskKeepsEveryOldFileAndSaysSo)
{
    Session.StartDelay = 5;
    ASSERT_TRUE(WriteStartFile("old.cfg"));
    const std::string oldStart = fileBytes(kStartFileName);
    Session.ConfigFileName = "cockpit.cfg";
    ASSERT_TRUE(WriteConfigFile());
    const std::string oldConfig = fileBytes(Session.ConfigFileName);

    // The start file is small enough to sit in a write buffer until the end;
    // the configuration fails only on its last bytes.
    Session.StartDelay = 7;
    boxes_.expectOk("Error writing Default Start file. File too large");
    {
        const FullDisk full(0);
        EXPECT_FALSE(WriteStartFile("new.cfg"));
    }
    Cfg.FunctionNames[52] = "changed";
    std::string error;
    {
        const FullDisk full(oldConfig.size() - 1);
        EXPECT_FALSE(WriteConfigFile(&error));
    }
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(fileBytes(kStartFileName), oldStart);
    EXPECT_EQ(fileBytes(Session.ConfigFileName), oldConfig);
    // No half-written temporary file is left behind.
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kStartFileName, "cockpit.cfg"}));
}

TEST_F(HostileFileTest, FileNamesAreTheBytesTheFileSystemHolds)
{
    const Latin1FileRemoved cleanUp;
    Session.ConfigFileName = kLatin1Name;
    ASSERT_TRUE(WriteConfigFile());
    EXPECT_EQ(folderEntries(), std::vector<std::string>{kLatin1Name});

    const ConfigTables saved = Cfg;
    Cfg = ConfigTables{};
    LoadConstantTables();
    ReadConfigFile();
    EXPECT_EQ(Session.ConfigError, 0);
    EXPECT_TRUE(Cfg == saved);

    Session.StartDelay = 3;
    ASSERT_TRUE(WriteStartFile(kLatin1Name));
    std::string name;
    ReadStartFile(name);
    EXPECT_EQ(name, kLatin1Name);
}

} // namespace
} // namespace varnet

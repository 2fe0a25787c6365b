#include "config/startfile.h"
#include "config/sample_config.h"
#include "config/tables.h"
#include "support/scripted_messages.h"
#include "support/workdir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace varnet {
namespace {

class StartFileTest : public ::testing::Test {
protected:
    void SetUp() override { Session = SessionState{}; }

    // What ReadStartFile gives for a start file holding `bytes`.
    std::pair<std::string, int> readWith(const std::string& bytes)
    {
        testing::writeBytes(kStartFileName, bytes);
        std::string name = "unchanged";
        ReadStartFile(name);
        return {name, Session.StartDelay};
    }

    testing::ScopedWorkDir dir_;
};

TEST_F(StartFileTest, WrittenFileReadsBackAndHasFiveLines)
{
    Session.StartDelay = 25;
    ASSERT_TRUE(WriteStartFile("My Cockpit.cfg"));
    EXPECT_EQ(testing::fileBytes(kStartFileName),
              "\"General\"\r\n\"My Cockpit.cfg\"\r\n\"Startdelay\"\r\n25\r\n\"End\"\r\n");
    Session.StartDelay = 0;
    std::string name;
    ReadStartFile(name);
    EXPECT_EQ(name, "My Cockpit.cfg");
    EXPECT_EQ(Session.StartDelay, 25);
}

TEST_F(StartFileTest, AnythingMalformedGivesTheDefaults)
{
    const std::pair<std::string, int> defaults{"Default.cfg", 10};
    std::string name = "unchanged";
    ReadStartFile(name);  // no file at all
    EXPECT_EQ(std::pair(name, int(Session.StartDelay)), defaults);

    EXPECT_EQ(readWith("\"General\"\r\n\"a.cfg\"\r\n\"Startdelay\"\r\nabc\r\n\"End\"\r\n"), defaults);
    EXPECT_EQ(readWith("\"General\"\r\n\"a.cfg\"\r\n\"Startdelay\"\r\n3\r\n\"end\"\r\n"), defaults);
    EXPECT_EQ(readWith("\"General\"\r\n\"a.cfg\"\r\n\"StartDelay\"\r\n3\r\n\"End\"\r\n"), defaults);
    EXPECT_EQ(readWith("\"General\"\r\n\"a.cfg\"\r\n"), defaults);
    EXPECT_EQ(readWith("\"General\"\n\"b.cfg\"\n\"Startdelay\"\n0\n\"End\"\n"), (std::pair<std::string, int>{"b.cfg", 0}));
}

TEST_F(StartFileTest, FailedWriteIsReportedAndKeepsTheOldFile)
{
    Session.StartDelay = 5;
    ASSERT_TRUE(WriteStartFile("old.cfg"));
    // The file cannot be replaced while a folder of its name stands in the way.
    const QString blocked = dir_.path() + "/sub";
    QDir().mkpath(blocked + "/" + kStartFileName);
    QDir::setCurrent(blocked);
    testing::ScriptedMessages boxes;
    boxes.expectOk("Error writing Default Start file. Is a directory");
    const bool written = WriteStartFile("new.cfg");
    QDir::setCurrent(dir_.path());
    EXPECT_FALSE(written);
    EXPECT_NE(testing::fileBytes(kStartFileName).find("\"old.cfg\""), std::string::npos);
}

} // namespace
} // namespace varnet

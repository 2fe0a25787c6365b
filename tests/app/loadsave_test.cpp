#include "app/loadsave.h"
#include "config/configfile.h"
#include "config/sample_config.h"
#include "support/workdir.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace varnet {
namespace {

using testing::sampleConfig;
using testing::ScopedWorkDir;
using testing::writeBytes;

TEST(ConfigFileNameTest, ExtensionMustBeLowerCaseWithinTheFirst50Characters)
{
    for (const QString& good : {QString("test.cfg.bak"), QString(49, u'a') + ".cfg"})
        EXPECT_TRUE(IsConfigFileName(good)) << good.toStdString();
    for (const QString& bad : {QString("TEST.CFG"), QString("a.cf"), QString(""), QString(50, u'a') + ".cfg",
                               QString("saves/a.cfg")})
        EXPECT_FALSE(IsConfigFileName(bad)) << bad.toStdString();
}

TEST(StartDelayTest, WholeNumbersInRangeAreTakenAndEverythingElseExplained)
{
    const QString range = "The autostart delay must be between -32768 and 32767 seconds";
    struct Case {
        std::optional<QString> answer;
        QString message;
        int delay;
    };
    const QString typo = kStartDelayInputError;
    const Case cases[] = {{" 0 ", "", 0},       {"32767", "", 32767}, {"-32768", "", -32768},
                          {"32768", range, 7},  {"-32769", range, 7}, {"99999999999999999999", range, 7},
                          {"1.5", typo, 7},     {"", typo, 7},        {std::nullopt, typo, 7}};
    for (const Case& c : cases) {
        Integer delay = 7;
        EXPECT_EQ(ParseStartDelay(c.answer, delay), c.message) << c.answer.value_or("<cancel>").toStdString();
        EXPECT_EQ(delay, c.delay) << c.answer.value_or("<cancel>").toStdString();
    }
}

// --- Partial import ----------------------------------------------------------

using Statement = std::vector<std::string>;  // the items of one statement
using Sections = std::map<std::string, std::vector<Statement>>;

// The statements of a configuration text by section: items split at commas
// and statements at CR LF, both outside quoted strings.
Sections sectionsOf(const std::string& text)
{
    static const std::set<std::string> names = {
        "\"General\"", "\"IOM\"", "\"Functions\"", "\"Gaugetypes\"", "\"Gauges\"", "\"Engine Cluster Settings\"",
        "\"Plates\"", "\"General FFB Yoke\"", "\"Yoke1\"", "\"Yoke2\"", "\"User Defined Yoke Switches\"",
        "\"Active Indexes\"", "\"Force Curves\"", "\"end\""};
    Sections sections;
    std::string section;
    Statement statement(1);
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"')
            quoted = !quoted;
        if (!quoted && c == ',') {
            statement.emplace_back();
        } else if (!quoted && c == '\r' && text.compare(i, 2, "\r\n") == 0) {
            ++i;
            if (statement.size() == 1 && names.count(statement[0]))
                section = statement[0];
            else
                sections[section].push_back(statement);
            statement.assign(1, "");
        } else {
            statement.back() += c;
        }
    }
    return sections;
}

// A configuration that differs from the sample in every group.
ConfigTables otherConfig()
{
    ConfigTables t;
    LoadConstantTables(t);
    t.IOEntryGaugeID[t.AddIOEntry()] = kStandAloneIOM2;
    t.FunctionNames[3] = t.FunctionNames[70] = t.GaugeTypeNames[0] = t.PlateName[t.AddPlate()] = "Mine";
    t.ECNeedleFunction[0] = 42;
    return t;
}

class PartialImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sample_ = sampleConfig();
        writeBytes("source.cfg", SerializeConfig(sample_));
    }

    static ImportSelection only(ImportGroup group)
    {
        ImportSelection groups{};
        groups[group] = true;
        return groups;
    }

    ScopedWorkDir dir_;
    ConfigTables sample_;
};

TEST_F(PartialImportTest, EachBoxReplacesItsGroupAndNothingElse)
{
    const ConfigTables other = otherConfig();
    const Sections from = sectionsOf(SerializeConfig(sample_));
    const Sections before = sectionsOf(SerializeConfig(other));
    for (int g = 0; g < kImportGroups; ++g) {
        SCOPED_TRACE(g);
        ConfigTables result = other;
        ASSERT_TRUE(ImportConfigGroups("source.cfg", only(ImportGroup(g)), result));

        Sections expected = before;
        auto take = [&](const char* section) { expected[section] = from.at(section); };
        auto takeFunctions = [&](int first, int last) {
            for (int f = first; f < last; ++f)
                expected["\"Functions\""][f] = from.at("\"Functions\"")[f];
        };
        switch (ImportGroup(g)) {
        case ImportGeneral:
            expected["\"General\""] = from.at("\"General\"");
            expected["\"General\""][0][4] = before.at("\"General\"")[0][4];  // BlockUsel stays
            break;
        case ImportIOEntries: take("\"IOM\""); break;
        case ImportStandardFunctions: takeFunctions(0, 51); break;
        case ImportConfigurableFunctions: takeFunctions(51, kStoredFunctionRows); break;
        case ImportGaugeTypes: take("\"Gaugetypes\""); break;
        case ImportGauges: take("\"Gauges\""); break;
        case ImportPlates: take("\"Plates\""); break;
        case ImportEngineCluster: take("\"Engine Cluster Settings\""); break;
        case kImportGroups: break;
        }
        EXPECT_EQ(sectionsOf(SerializeConfig(result)), expected);
        // The run walks every I/O column over the same rows.
        EXPECT_EQ(result.IOEntryPort.size(), result.IOEntryGaugeID.size());
    }
}

TEST_F(PartialImportTest, FileWithoutPlatesKeepsThePlates)
{
    sample_.ResizePlates(0);
    writeBytes("source.cfg", SerializeConfig(sample_));
    ConfigTables result = otherConfig();
    ASSERT_TRUE(ImportConfigGroups("source.cfg", only(ImportPlates), result));
    EXPECT_TRUE(result == otherConfig());
}

TEST_F(PartialImportTest, BrokenOrMissingFileChangesNothing)
{
    std::string text = SerializeConfig(sample_);
    // Damage the last gauge line, after everything before it was read.
    text.replace(text.find("\"Engine Cluster Settings\"") - 4, 1, "x");
    writeBytes("broken.cfg", text);
    ImportSelection all;
    all.fill(true);
    for (const char* file : {"broken.cfg", "missing.cfg"}) {
        ConfigTables result = otherConfig();
        EXPECT_FALSE(ImportConfigGroups(file, all, result)) << file;
        EXPECT_TRUE(result == otherConfig()) << file;
    }
}

} // namespace
} // namespace varnet

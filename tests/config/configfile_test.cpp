#include "config/configfile.h"
#include "config/files.h"
#include "config/sample_config.h"
#include "config/startfile.h"
#include "support/scripted_messages.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnet {
namespace {

using namespace testing;

const QString kTitleQuestion =
    "The selected Configuration file is possibly not compatible with this program.\r\n"
    "In case a config from a previous version, ignore errors save it again.\r\n"
    "Continue?";
const QString kVersionQuestion =
    "The version of selected Configuration file differs from program version.\r\n"
    "Possibly the functions differ or are missing. Partially import the functions if needed.\r\n"
    "Correct and/or check and (re)save the configuration file.\r\n"
    "Continue?";

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = ConfigTables{};
        Session = SessionState{};
        Session.ProgramTitle = kProgramTitle;
        Session.ConfigFileName = "cockpit.cfg";
    }

    // Loads `bytes` as the current file and returns ConfigError.
    int load(const std::string& bytes)
    {
        writeBytes(Session.ConfigFileName, bytes);
        ReadConfigFile();
        return Session.ConfigError;
    }

    ScopedWorkDir dir_;
};

// The sample written as this program writes it.
std::string sampleText()
{
    return SerializeConfig(sampleConfig());
}

// `text` with the first occurrence of `from` replaced by `to`.
std::string edited(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

// Under a locale whose decimal separator is a comma, where the C locale is
// installed, and always for Qt.
TEST_F(ConfigFileTest, RoundTripIsByteIdenticalWithPointNumbersWhateverTheLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Cfg = sampleConfig();
    Cfg.PlateName[1] = std::string(kMaxItemLength, 'P');
    Cfg.FunctionFullName[2] = std::string(kMaxCommandTextLength, 'c');
    const ConfigTables saved = Cfg;
    EXPECT_TRUE(WriteConfigFile());
    ::chmod(Session.ConfigFileName.c_str(), 0600);  // kept by the saves that replace the file
    const std::string text = fileBytes(Session.ConfigFileName);
    Cfg = ConfigTables{};
    LoadConstantTables();  // the category names are built in, not stored
    ReadConfigFile();
    const ConfigTables loaded = Cfg;
    EXPECT_TRUE(WriteConfigFile());
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, previous.c_str());

    EXPECT_EQ(Session.ConfigError, 0);
    EXPECT_TRUE(loaded == saved) << "the longest names read back";
    EXPECT_EQ(loaded.FunctionMultiply[7], 0.1f);
    EXPECT_EQ(fileBytes(Session.ConfigFileName), text);
    struct stat file {};
    EXPECT_TRUE(::stat(Session.ConfigFileName.c_str(), &file) == 0 && (file.st_mode & 07777) == 0600);
    EXPECT_EQ(text.find("Func7\",\"#0:sim/lights/nav_lights_toggle\r\n#1:sim/none\r\n\",7,7,7,7,0,0,32767,-999.5,"
                        "7,255,0.1,3E+12,-1.5E-07,1234567,4096,7,0,0,7\r\n"),
              text.find("Func7\""));
    EXPECT_NE(text.find("\r\n\"Plate 0\",1,3,-0.25,1234.5678901234,1,"), std::string::npos);
    EXPECT_NE(text.find(",0.1,-999.5,2,-3,1E-10,16737,-32768\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    EXPECT_EQ(text.substr(text.size() - 7), "\"end\"\r\n");
}

// `path` read-only for the scope: by its permissions, or where they do not
// bind (root) by the immutable attribute.
struct ReadOnly {
    explicit ReadOnly(QString p) : path(std::move(p))
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        QProcess::execute("chattr", {"+i", path});
    }
    ~ReadOnly()
    {
        QProcess::execute("chattr", {"-i", path});
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool holds() const { return ::access(path.toLocal8Bit().constData(), W_OK) != 0; }
    QString path;
};

TEST_F(ConfigFileTest, SaveFailureKeepsThePreviousFile)
{
    Cfg = sampleConfig();
    ASSERT_TRUE(WriteConfigFile());
    const std::string saved = fileBytes(Session.ConfigFileName);
    Cfg.FunctionNames[52] = "changed";

    // A disk that fills up while writing: the file size limit makes every
    // write beyond `limit` bytes fail.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto limited = [](rlim_t limit, const std::function<bool()>& write) {
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tiny = previous;
        tiny.rlim_cur = limit;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const bool written = write();
        setrlimit(RLIMIT_FSIZE, &previous);
        return written;
    };
    std::string error;
    EXPECT_FALSE(limited(1000, [&] { return WriteConfigFile(&error); }));
    EXPECT_EQ(error, "File too large");
    EXPECT_EQ(fileBytes(Session.ConfigFileName), saved);

    // The start file is small enough to sit in a write buffer until flushed.
    ASSERT_TRUE(WriteStartFile("old.cfg"));
    const std::string oldStart = fileBytes(kStartFileName);
    ScriptedMessages boxes;
    boxes.expectOk("Error writing Default Start file. File too large");
    EXPECT_FALSE(limited(0, [] { return WriteStartFile("new.cfg"); }));
    EXPECT_EQ(fileBytes(kStartFileName), oldStart);
    EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden).size(), 2) << "a temporary file was left";

    EXPECT_TRUE(writeFileSafely("one", "1", nullptr));  // the last byte of a write is written too
    Session.ConfigFileName = dir_.file("no such folder/cockpit.cfg");
    EXPECT_FALSE(WriteConfigFile(&error));

    // Into a read-only folder the file itself is written; a read-only file stays.
    Session.ConfigFileName = "cockpit.cfg";
    const ReadOnly folder(dir_.path());
    if (!folder.holds())
        GTEST_SKIP() << "the folder cannot be made read-only here";
    EXPECT_TRUE(WriteConfigFile());
    const std::string changed = fileBytes(Session.ConfigFileName);
    EXPECT_NE(changed.find("\"changed\""), std::string::npos);
    const ReadOnly file(dir_.path() + "/cockpit.cfg");
    Cfg.FunctionNames[52] = "lost";
    EXPECT_FALSE(WriteConfigFile());
    EXPECT_EQ(fileBytes(Session.ConfigFileName), changed);
}

TEST_F(ConfigFileTest, OnlyExistingRegularFilesOfAConfigurationsSizeAreRead)
{
    ASSERT_EQ(::mkfifo("fifo.cfg", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zero.cfg");
    writeBytes("huge.cfg", "");
    std::filesystem::resize_file("huge.cfg", std::uintmax_t(100) << 20);
    for (const auto& [name, description] : {std::pair{"fifo.cfg", kErrorNotRegularFile},
                                            std::pair{"zero.cfg", kErrorNotRegularFile},
                                            std::pair{"huge.cfg", kErrorFileTooLarge},
                                            std::pair{"absent.cfg", "File not found"}}) {
        Session.ConfigFileName = name;
        ScriptedMessages boxes;
        boxes.expectOk(QString("Error Configuration file. %1: %2").arg(name, description));
        ReadConfigFile();
        EXPECT_EQ(Session.ConfigError, 1) << name;
    }
}

TEST_F(ConfigFileTest, FormatVariantsAndOlderFilesLoad)
{
    // Linux line ends; a quote in a name, which the writer must not write as
    // one the reader would split on.
    ConfigTables variant = sampleConfig();
    variant.FunctionNames[60] = "say \"hello\"";
    std::string lf;
    for (char c : SerializeConfig(variant))
        if (c != '\r')
            lf += c;
    ASSERT_EQ(load(lf), 0);
    EXPECT_EQ(Cfg.FunctionFullName[7], "#0:sim/lights/nav_lights_toggle\n#1:sim/none\n");
    EXPECT_EQ(std::tuple(Cfg.ComPortIOM2, Cfg.FunctionNames[60]), std::tuple(5, "say 'hello'"));

    // An empty I/O table leaves one spare row.
    variant.ResizeIOEntries(0);
    ASSERT_EQ(load(SerializeConfig(variant)), 0);
    EXPECT_EQ(std::tuple(Cfg.IOEntryCount, Cfg.IOEntryGaugeID.size(), Cfg.IOEntryPort.size()), std::tuple(0, 1u, 1u));

    // Values never used as indexes load whatever they are; a plate's
    // element 1 names its last point: 20 is the 21st.
    std::string text = edited(sampleText(), "\"Plate 0\",1,3,", "\"Plate 0\",1,20,");
    ASSERT_EQ(load(edited(text, ",40,6,60,", ",40,-7,60,")), 0);
    EXPECT_EQ(std::tuple(Cfg.PlateValue[0][1], Cfg.IOEntryCategory[1]), std::tuple(20, -7));

    // An older file without plates has none, and like one without yokes
    // (see the hand-written file) no yoke settings and no module 2: nothing
    // of the configuration it replaces.
    Cfg.ComPortIOM2 = 9;
    Cfg.YokeSettings[1].Mode = 4;
    Cfg.PlateName[1] = "replaced";
    text = sampleText();
    ASSERT_EQ(load(text.substr(0, text.find("\"Plates\"")) + "\"end\"\r\n"), 0);
    EXPECT_EQ(std::tuple(Cfg.ComPortIOM2, Cfg.YokeSettings[1].Mode, Cfg.PlateCount, Cfg.PlateName.size()),
              std::tuple(0, 0, 0, 1u));
}

TEST_F(ConfigFileTest, EveryReadFaultIsReportedAndChangesNothing)
{
    const std::string good = sampleText();
    const auto lineOf = [&](const std::string& item) {
        return std::to_string(1 + std::count(good.begin(), good.begin() + long(good.find(item)), '\n'));
    };
    struct Fault {
        const char* what;
        std::string text, description;
    };
    const Fault faults[] = {
        {"mismatched section name", edited(good, "\"Gaugetypes\"", "\"GaugeTypes\""), ""},
        {"missing final end", edited(good, "\"end\"", "\"End\""), ""},
        {"non-numeric item", edited(good, "\"IOM\"\r\n4\r\n", "\"IOM\"\r\nfour\r\n"), "Type mismatch"},
        {"Byte out of range", edited(good, ",7,255,0.1,", ",7,256,0.1,"), "Overflow"},
        {"early end of file", good.substr(0, good.find("\"Gauges\"") + 20), "Input past end of file"},
        {"unterminated string", good.substr(0, good.find("\"Plate 1\"") + 4), "Input past end of file"},
        {"negative count", edited(good, "\"IOM\"\r\n4\r\n", "\"IOM\"\r\n-4\r\n"), "Subscript out of range"},
        {"category out of range", edited(good, "\",7,7,7,7,0,0,", "\",7,7,21,7,0,0,"), "Subscript out of range"},
        {"signal type out of range", edited(good, "\",7,7,7,7,0,0,", "\",7,8,7,7,0,0,"), "Subscript out of range"},
        {"plate with too many points", edited(good, "\"Plate 0\",1,3,", "\"Plate 0\",1,21,"), "Subscript out of range"},
        {"name over the bound", edited(good, "\"Plate 0\"", '"' + std::string(256, 'P') + '"'),
         "Line " + lineOf("\"Plate 0\"") + ": item longer than 255 characters"},
        {"command text over its bound", edited(good, "\"Full name, with comma\"", '"' + std::string(4096, 'c') + '"'),
         "Line " + lineOf("\"Full name, with comma\"") + ": item longer than 4095 characters"},
        {"local port 0", edited(good, "\"49001\"", "\"0\""),
         "Line 3: A UDP port must be a number between 1 and 65535"},
        {"remote port 65536", edited(good, "\"49000\"", "\" 65536\""),
         "Line 3: A UDP port must be a number between 1 and 65535"},
    };
    // Each load over the sample fails with its description and leaves every table as it was.
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        const ConfigTables before = Cfg = sampleConfig();
        ScriptedMessages boxes;
        boxes.expectOk(ConfigErrorText("cockpit.cfg", fault.description));
        EXPECT_EQ(load(fault.text), 1);
        EXPECT_TRUE(Cfg == before);
    }
}

TEST_F(ConfigFileTest, HeaderChecksLookOnlyAtTheirPositionsAndRefusedQuestionsChangeNothing)
{
    const std::string foreignTitle = edited(sampleText(), "for X-Plane", "for Y-Plane");
    const std::string otherVersion = edited(sampleText(), "Version: 1.0 ", "Version: 0.9 ");
    for (const auto& [text, question] : {std::pair{foreignTitle, kTitleQuestion}, std::pair{otherVersion, kVersionQuestion}}) {
        Cfg = sampleConfig();
        Cfg.ComPortGauges = 12;
        const ConfigTables before = Cfg;
        {
            ScriptedMessages boxes;
            boxes.expectYesNo(question, false);
            EXPECT_EQ(load(text), 1);
        }
        EXPECT_TRUE(Cfg == before);

        ScriptedMessages boxes;
        boxes.expectYesNo(question, true);
        EXPECT_EQ(load(text), 0);
        EXPECT_EQ(Cfg.ComPortGauges, 1);
    }

    Cfg = sampleConfig();
    // Only the first 35 characters of the title are compared, and a short
    // version text is padded with blanks up to position 79.
    Session.ProgramTitle = std::string(kProgramTitle).substr(0, 35) + "anything else";
    Cfg.ConfigHeader = programHeader();
    ASSERT_EQ(Cfg.ConfigHeader.substr(69, 10), "1.0       ");
    ASSERT_TRUE(WriteConfigFile());
    ReadConfigFile();
    EXPECT_EQ(Session.ConfigError, 0);

    // A header too short to hold a title or version asks both questions.
    ScriptedMessages boxes;
    boxes.expectYesNo(kTitleQuestion, true);
    boxes.expectYesNo(kVersionQuestion, true);
    EXPECT_EQ(load(edited(sampleText(), programHeader(), "short")), 0);
    EXPECT_EQ(Cfg.ConfigHeader, "short");
}

// A configuration file typed from the documented layout, not produced by the
// writer: it proves the reader follows the format rather than merely
// mirroring the writer.
std::string repeat(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}

std::string handWrittenFile(bool withYokes)
{
    std::string f;
    f += "\"General\"\r\n\"" + programHeader() + "\",2,1,30,0,32,1,\"127.0.0.1\",\"\",\"49000\",\"49001\",\"\",\"\",0,0\r\n";
    f += "\"IOM\"\r\n2\r\n0,0,0,0,0,0,0,0,0,0,0,0,0\r\n";
    f += "1000, 1, 9, 6, 52, 1, .5, -10, 0, 1, 0, 0, 0\r\n";  // blanks after commas, no leading zero
    f += "\"Functions\"\r\n\"\",\"\",0,0,0,0,0,0,0,0,0,0,1,1,0,0,0,0,0,0,0\r\n";
    f += "\"Voltage\",\"Battery volts\",1,4,7,54,0,0,0,0,4,0,1,1,0,30,0,1,0,0,0\r\n";
    f += repeat("\"\",\"\",0,0,0,0,0,0,0,0,0,0,1,1,0,0,0,0,0,0,0\r\n", 50);
    f += "\"Lights\",\"#0:sim/lights/landing_lights_on\r\n#1:sim/lights/landing_lights_off\r\n\",52,1,6,0,0,0,0,0,6,0,1,1,0,1,0,0,0,0,0\r\n";
    f += repeat("\"\",\"\",0,0,0,0,0,0,0,0,0,0,1,1,1E-10,0,0,0,0,0,0\r\n", 248);
    f += "\"Gaugetypes\"\r\n" + repeat("0,\"\"\r\n", 128);
    f += "\"Gauges\"\r\n0,0,0,0,0,0,0,0,0,0,0\r\n1,1,2,7,1,0,0,0,0,0,0\r\n";
    f += repeat("0,0,0,0,0,0,0,0,0,0,0\r\n", 254);
    f += "\"Engine Cluster Settings\"\r\n" + repeat("1,0,0\r\n", 9) + "2,0,0\r\n1,0,0\r\n";
    f += "\"Plates\"\r\n1\r\n\"Volts\",7,2,0,30,0,15,30" + repeat(",0", 18) + "\r\n";
    f += "0,2,0,1079,0,540,1079" + repeat(",0", 18) + "\r\n";
    if (withYokes) {
        f += "\"General FFB Yoke\"\r\n" + repeat("1\r\n", 5) + "-5\r\n1\r\n";
        for (const char* yoke : {"\"Yoke1\"\r\n", "\"Yoke2\"\r\n"}) {
            f += std::string(yoke) + "6\r\n2\r\n0\r\n" + repeat("3\r\n", 14);
            for (const char* limit : {"100", "400", "0", "1000"})
                f += repeat("-7\r\n", 17) + "1\r\n2\r\n3\r\n" + limit + "\r\n";
            f += repeat("9\r\n", 10);
        }
        f += "\"User Defined Yoke Switches\"\r\n" +
             repeat("1\r\n-2\r\n3\r\n4\r\n5\r\n6\r\n0.25\r\n-0.5\r\n9\r\n10\r\n11\r\n1.5\r\n2.5\r\n14\r\n", 17);
        f += "\"Active Indexes\"\r\n" + repeat("17\r\n3\r\n", 22) + repeat("512.5\r\n1\r\n", 11);
        f += "\"Force Curves\"\r\n" + repeat("10\r\n20\r\n", 26) + "3\r\n";
    }
    f += "\"end\"\r\n";
    return f;
}

TEST_F(ConfigFileTest, HandWrittenFileLoadsEverySectionAndOneEndingAfterPlatesHasNoYokes)
{
    ASSERT_EQ(load(handWrittenFile(true)), 0);

    EXPECT_EQ(std::tuple(Cfg.ComPortEC, Cfg.ProcessTimerInterval, Cfg.RemoteIP, Cfg.LocalPort),
              std::tuple(2, 30, "127.0.0.1", "49001"));
    EXPECT_EQ(std::tuple(Cfg.IOEntryCount, Cfg.IOEntryGaugeID[1], Cfg.IOEntryValue1[1], Cfg.IOEntryValue2[1], Cfg.IOEntryPort.size()),
              std::tuple(2, kStandAloneIOM1, 0.5f, -10.0f, 3u));
    EXPECT_EQ(std::tuple(Cfg.FunctionNames[1], Cfg.FunctionIndex1[1], Cfg.FunctionMaximum[1], Cfg.FunctionDataType[52],
                         Cfg.FunctionMinimum[300]),
              std::tuple("Voltage", 54, 30.0f, DataTypeCommand, 1E-10f));
    EXPECT_EQ(Cfg.FunctionFullName[52], "#0:sim/lights/landing_lights_on\r\n#1:sim/lights/landing_lights_off\r\n");
    EXPECT_EQ(std::tuple(Cfg.GaugeRecType[1], Cfg.GaugeRecCategory1[1], Cfg.GaugeRecFunction1[1], Cfg.ECNeedleDisplay[9]),
              std::tuple(1, 7, 1, 2));
    ASSERT_EQ(Cfg.PlateCount, 1);
    EXPECT_EQ(std::tuple(Cfg.PlateName[0], Cfg.PlateValue[0][5], Cfg.PlateSteps[0][5]), std::tuple("Volts", 15.0, 540));
    EXPECT_EQ(std::tuple(Cfg.YokeGeneralSettings[5], Cfg.ComPortYoke1(), Cfg.ComPortYoke2(), Cfg.YokeSettings[1].Mode,
                         Cfg.YokeSettings[0].ModeSettings[3][18]),
              std::tuple(-5, 6, 6, 2, 2));
    EXPECT_EQ(Cfg.YokeSettings[0].CalibrationLimits, (std::array<Integer, 4>{100, 400, 0, 1000}));
    EXPECT_EQ(Cfg.YokeCalibration[0].Limits, (std::array<Integer, 4>{100, 1023, 0, 1000}));
    EXPECT_EQ(std::tuple(Cfg.YokeSwitchTable[16][7], Cfg.YokeDataGroup[21], Cfg.PedalCalibration[10],
                         Cfg.ForceCurveElevator[12][2], Cfg.ComPortIOM2),
              std::tuple(-0.5f, 17, 512.5f, 20.0f, 3));

    // A file ending after the plates, of an earlier version, starts the
    // yokes and the second module as a new configuration does: none of
    // them is the one in memory's, which it replaces whole.
    Cfg.ComPortIOM2 = 4;
    Cfg.YokeSettings[0].ComPort = 8;
    Cfg.ForceCurveAileron[3][1] = 1.25f;
    ASSERT_EQ(load(handWrittenFile(false)), 0);
    const ConfigTables fresh = NewConfiguration();
    EXPECT_EQ(Cfg.ComPortIOM2, 0);
    EXPECT_EQ(Cfg.YokeSettings, fresh.YokeSettings);
    EXPECT_EQ(Cfg.YokeCalibration, fresh.YokeCalibration);
    EXPECT_EQ(std::tuple(Cfg.YokeGeneralSettings, Cfg.YokeSwitchTable, Cfg.YokeDataGroup, Cfg.PedalCalibration,
                         Cfg.ForceCurveAileron),
              std::tuple(fresh.YokeGeneralSettings, fresh.YokeSwitchTable, fresh.YokeDataGroup,
                         fresh.PedalCalibration, fresh.ForceCurveAileron));
    EXPECT_EQ(std::tuple(Cfg.PlateCount, Cfg.PlateName[0]), std::tuple(1, "Volts")) << "its plates are its own";
}

// What ReadStartFile gives for a start file holding `bytes`.
std::pair<std::string, int> readStartFileWith(const std::string& bytes)
{
    writeBytes(kStartFileName, bytes);
    std::string name = "unchanged";
    ReadStartFile(name);
    return {name, Session.StartDelay};
}

TEST_F(ConfigFileTest, StartFileReadsBackWhatWasWrittenAndGivesTheDefaultsForAnythingMalformed)
{
    const std::pair<std::string, int> defaults{"Default.cfg", 10};
    std::string name = "unchanged";
    ReadStartFile(name);  // no file at all
    EXPECT_EQ(std::pair(name, int(Session.StartDelay)), defaults);

    Session.StartDelay = 25;
    ASSERT_TRUE(WriteStartFile("My Cockpit.cfg"));
    EXPECT_EQ(fileBytes(kStartFileName), "\"General\"\r\n\"My Cockpit.cfg\"\r\n\"Startdelay\"\r\n25\r\n\"End\"\r\n");
    Session.StartDelay = 0;
    ReadStartFile(name);
    EXPECT_EQ(std::pair(name, int(Session.StartDelay)), (std::pair<std::string, int>{"My Cockpit.cfg", 25}));

    for (const char* malformed : {"\"General\"\r\n\"a.cfg\"\r\n\"Startdelay\"\r\nabc\r\n\"End\"\r\n",
                                  "\"General\"\r\n\"a.cfg\"\r\n\"Startdelay\"\r\n3\r\n\"end\"\r\n",
                                  "\"General\"\r\n\"a.cfg\"\r\n\"StartDelay\"\r\n3\r\n\"End\"\r\n", "\"General\"\r\n\"a.cfg\"\r\n"})
        EXPECT_EQ(readStartFileWith(malformed), defaults) << malformed;
    EXPECT_EQ(readStartFileWith("\"General\"\n\"b.cfg\"\n\"Startdelay\"\n0\n\"End\"\n"), (std::pair<std::string, int>{"b.cfg", 0}));
}

TEST(YokeCalibrationTest, UnsetMaximaMeanTheFullRangeAndRangesWrap)
{
    const YokeCalibrationRecord c = DeriveYokeCalibration({100, 400, 200, 900});
    EXPECT_EQ(c.Limits, (std::array<Integer, 4>{100, 1023, 200, 900}));
    EXPECT_FLOAT_EQ(c.ScaleA, 1024.0f / 923);
    EXPECT_FLOAT_EQ(c.ScaleB, 1024.0f / 700);
    EXPECT_EQ(std::tuple(c.CentreA, c.CentreB), std::tuple(562, 550));  // 461.5 + 100 rounds to even

    const YokeCalibrationRecord flat = DeriveYokeCalibration({600, 600, -32768, 32767});
    EXPECT_EQ(std::tuple(flat.ScaleA, flat.CentreA), std::tuple(0.0f, 600));
    EXPECT_FLOAT_EQ(flat.ScaleB, -1024.0f);  // 65535 wraps to -1
    EXPECT_EQ(flat.CentreB, -32768);         // -0.5 - 32768 rounds to even, stays in range
}

} // namespace
} // namespace varnet

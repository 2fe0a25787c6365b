#include "app/commandlist.h"
#include "app/saveconfig.h"
#include "app/startwindow.h"
#include "bus/runwindow.h"
#include "config/configfile.h"
#include "config/hostile_files.h"
#include "config/sample_config.h"
#include "config/startfile.h"
#include "iomodules/links.h"
#include "simlink/simcom.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"
#include "support/scripted_messages.h"
#include "support/workdir.h"
#include "window_helpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

const QString kNameRule = "Filetype incorrect or missing; must be: ****.cfg";

class HostileNamesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefaultForm<SimCom>::unload();
        Cfg = ConfigTables{};
        Session = SessionState{};
        InstallStandAloneLinks();
    }

    void TearDown() override
    {
        DefaultForm<SaveConfig>::unload();
        DefaultForm<frmMain>::unload();
        DefaultForm<frmStatus>::unload();
        DefaultForm<SimCom>::unload();
        flushDeletes();
    }

    // A configuration the program accepts; `marker` (in
    // ProcessTimerInterval) tells which file was loaded.
    static void writeConfig(const std::string& name, Integer marker)
    {
        ConfigTables t = sampleConfig();
        t.ConfigHeader = programHeader();
        t.ProcessTimerInterval = marker;
        writeBytes(name, SerializeConfig(t));
    }

    static void choose(QWidget& window, const QString& line)
    {
        auto* list = child<QListWidget>(window, "FileBox");
        const QList<QListWidgetItem*> found = list->findItems(line, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << line.toStdString();
        list->setCurrentItem(found.first());
    }

    ScopedWorkDir dir_;
    FakeSerialPorts ports_;
    FakeUdpSockets sockets_;
    ScriptedMessages boxes_;
};

TEST_F(HostileNamesTest, ALatin1NameIsListedLoadedAndSavedUnderItsOwnName)
{
    const Latin1FileRemoved cleanUp;
    writeConfig(kLatin1Name, 41);
    writeConfig("plain.cfg", 42);
    Session.StartDelay = 10;
    ASSERT_TRUE(WriteStartFile("plain.cfg"));
    const std::vector<std::string> listed{"plain.cfg", "\u00e9t\u00e9.cfg"};

    frmMain& start = DefaultForm<frmMain>::get();
    start.show();
    start.Form_Activate();
    EXPECT_EQ(listLines(start, "FileBox"), listed);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 42);
    choose(start, QString::fromLatin1(kLatin1Name.c_str()));
    EXPECT_EQ(Session.ConfigError, 0);
    EXPECT_EQ(Cfg.ProcessTimerInterval, 41);

    Cfg.ProcessTimerInterval = 43;
    SaveConfig& save = DefaultForm<SaveConfig>::get();
    EXPECT_EQ(listLines(save, "FileBox"), listed);
    choose(save, QString::fromLatin1(kLatin1Name.c_str()));
    boxes_.expectOk(QString::fromLatin1("File saved as: " + kLatin1Name));
    click(save, "CmdSave");
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{kStartFileName, "plain.cfg", kLatin1Name}));
    EXPECT_EQ(Session.ConfigFileName, kLatin1Name);
    Cfg = ConfigTables{};
    ReadConfigFile();
    EXPECT_EQ(Cfg.ProcessTimerInterval, 43);
}

TEST_F(HostileNamesTest, NamesWithAFolderPartAreRefusedForSaveAndDelete)
{
    ASSERT_TRUE(QDir().mkdir("work"));
    QDir::setCurrent("work");
    writeBytes("../victim.cfg", "keep");
    SaveConfig& w = DefaultForm<SaveConfig>::get();
    for (const QString& name : {QString("../x.cfg"), dir_.path() + "/y.cfg", QString("sub/z.cfg"),
                                QString("../victim.cfg")}) {
        SCOPED_TRACE(name.toStdString());
        child<QLineEdit>(w, "FileName")->setText(name);
        boxes_.expectOk(kNameRule);
        click(w, "CmdSave");
        boxes_.expectOk(kNameRule);
        click(w, "cmdKill");
    }
    EXPECT_TRUE(folderEntries().empty());
    QDir::setCurrent(dir_.path());
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"victim.cfg", "work"}));
    EXPECT_EQ(fileBytes("victim.cfg"), "keep");
}

TEST_F(HostileNamesTest, ACommandListThatIsNoFileOrTooBigShowsTheErrorLineAtOnce)
{
    const Fifo fifo("fifo.txt");
    writeSparseFile("huge.txt", off_t(100) << 20);
    QElapsedTimer clock;
    clock.start();
    for (const char* path : {"fifo.txt", "huge.txt"})
        EXPECT_EQ(ReadCommandFile(path).lines, std::vector<std::string>{kCommandFileError}) << path;
    EXPECT_LT(clock.elapsed(), 2000) << "the command list waited for a FIFO";
}

} // namespace
} // namespace varnet

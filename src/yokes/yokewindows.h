#pragma once

// The force-feedback yoke windows, as far as the rest of the program uses
// them: the yoke status window, which the autostart and the run window start
// and which stays up while the cockpit runs; one window per yoke owning the
// yoke's COM port; and the yoke configuration window.

#include "config/tables.h"
#include "platform/form.h"
#include "platform/serialport.h"

#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <memory>

namespace varnet {

class frmStatusYoke final : public Form {
    Q_OBJECT

public:
    frmStatusYoke();

    // It runs with the run, on the yokes' ports.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Nothing; }

    // Opens the UDP link; the yoke links are started by cmdRun_Click.
    void Form_Activate() override;
    // Starts the link of every yoke whose COM port is set and shows
    // "Running" on red.
    void cmdRun_Click();
    // The third exit of the program: closes the device ports and ends the
    // program, leaving the UDP link open. The application installs it.
    static inline std::function<void()> ExitProgram;

    QLineEdit* BoxRun;
    // Bring the window of yoke 1 (2) to the screen; only a yoke with a COM
    // port has one that runs.
    QPushButton* cmdShowYoke1;
    QPushButton* cmdShowYoke2;
    QPushButton* cmdExit;

protected:
    void Form_TitleBarClose() override { cmdExit->click(); }
    void showEvent(QShowEvent* event) override;
};

// The window of one yoke. Its COM port opens when the yoke is started and
// closes when the window is unloaded. What the yoke sends has no known
// meaning: each unit is read and dropped as it arrives, so that nothing
// piles up behind a yoke that sends for hours.
class YokeWindow : public Form {
    Q_OBJECT

public:
    explicit YokeWindow(int yoke);
    ~YokeWindow() override;

    // It owns a yoke's port, which the run starts, on the COM number the
    // configuration gives the yoke: after a load it follows the loaded one.
    // (No load comes while a run is prepared, and only a prepared run has
    // yoke windows; were one to come, the port would not stay on a yoke of
    // the configuration replaced.)
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::DeviceLink; }
    void Form_ConfigurationReplaced() override;

    void cmdRun_Click();
    bool Running() const { return running_; }
    SerialPort* MSComm1() { return MSComm1_.get(); }

    // The Load/Save window, the one the configuration screen opens; a save
    // there writes the yoke sections as they stand. The application installs it.
    static inline std::function<void()> ShowSaveWindow;

protected:
    void Form_Unload() override;
    // The yoke goes on running behind its window.
    void Form_TitleBarClose() override { hide(); }

private:
    // The yoke's COM number in the configuration in memory.
    int portNumber() const;
    void openPort(int number);

    int yoke_;
    bool running_ = false;
    std::unique_ptr<SerialPort> MSComm1_;
    QLineEdit* BoxStatus;
    QPushButton* CmdSaveConfig;
};

class frmConfigY1 final : public YokeWindow {
    Q_OBJECT

public:
    frmConfigY1() : YokeWindow(1) {}
};

class frmConfigY2 final : public YokeWindow {
    Q_OBJECT

public:
    frmConfigY2() : YokeWindow(2) {}
};

// The yoke configuration window, opened from the configuration screen.
// Until its editors are built it says what it is for and that the yoke
// settings are made in the configuration file; it opens the simulator
// link's UDP test window on request.
class FrmConfigureYokes final : public ConfigurationView {
    Q_OBJECT

public:
    FrmConfigureYokes();

    // The UDP test window, installed by the application.
    static inline std::function<void()> ShowUDPTestWindow;

protected:
    // A window of the configuration screen's: it closes before a run is
    // prepared, and stays after a load, showing nothing that a load changes.
    void Form_ShowConfiguration() override {}
};

// Unloads the windows of yoke 1 and yoke 2 where they are loaded, which
// closes their COM ports: when the run window goes to the configuration
// screen, and at every exit of the program.
void UnloadYokeWindows();

} // namespace varnet

#pragma once

// The start window frmMain: the program opens on it. It shows the
// configuration files of the working folder, loads the one the start file
// names and, after a one-second wait, counts the autostart delay down; at
// zero it prepares and starts the run on that configuration and closes
// itself. Until then the user can choose another file, start by hand
// ("Continue"), open the configuration screen or leave.

#include "app/configwindows.h"
#include "platform/form.h"
#include "platform/wait.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;

namespace varnet {

// The countdown value after one tick: the whole number in the countdown box
// minus one. The box is an ordinary text box; when the user typed something
// that is not a whole number (or is beyond an Integer) into it, the count
// goes on from `lastShown`, the value the window wrote there last.
int NextCountdownValue(const QString& boxText, int lastShown);

inline constexpr const char* kStartWindowCaption = "VARNET  Control Program";
inline constexpr const char* kAutostartText = "Program will autostart with Selected Config in: ";
inline constexpr const char* kAutostartFailed = "No or incorrect Start-Up file.File name is Case sensitive";
inline constexpr const char* kNoFileSelected = "No Configuration file selected ";
inline constexpr const char* kMakerWebAddress = "https://www.varnet.example/";

class frmMain final : public ConfigurationView {
    Q_OBJECT

public:
    frmMain();

    // The program's first activation: title, start file, countdown set-up,
    // load. Later ones (back from the configuration screen, also in a start
    // window made again): the start file's name again, and no countdown.
    void Form_Activate() override;

    // One second after the first activation: the countdown starts, unless
    // it was cancelled in the meantime.
    void TimerWaitForFS_Timer();
    // Each second while the window is not hidden and no load is in progress.
    void Timer2_Timer();
    void butOK_Click();
    void FileBox_Click();
    void CmdConfigure_Click();
    // Ends the program; nothing is saved.
    void Exit_Click();
    // The web link (Label5, Label6 and Picture1).
    void Label5_Click();

    QTimer& TimerWaitForFS() { return TimerWaitForFS_; }
    QTimer& Timer2() { return Timer2_; }

    // It closes before a run is prepared, without ending the program as its
    // title bar does.
    void Form_CloseUnasked() override { DefaultForm<frmMain>::unload(); }

protected:
    // Its box names the file that Continue runs: after a load, whichever
    // window asked for it, the one in memory.
    void Form_ShowConfiguration() override;
    void Form_Unload() override;
    // Closing the window by its frame is the Exit button: the program must
    // not go on with only hidden windows.
    void Form_TitleBarClose() override { Exit_Click(); }

private:
    // Stops the countdown for good and hides its controls.
    void cancelCountdown();
    void showCountdown(bool visible);
    void refreshFileBox();
    // Shows `name` in FileName, which then names that file until edited.
    void showFileName(const std::string& name);
    // LoadConfigFile of `name`; true when it loaded. A read error is handed
    // to `error` when given. The countdown holds still while a question of
    // the load is open.
    bool loadConfiguration(const std::string& name, QString* error = nullptr);
    // The same, the way every load replacing the configuration goes
    // (LoadConfiguration), after `ownQuestions`.
    ReplaceResult replaceConfiguration(const std::string& name, const std::function<bool()>& ownQuestions = {},
                                       QString* error = nullptr);
    // The file FileName names: the one shown there, or the name typed in.
    std::string boxFileName() const;
    // After a successful load: the run window is shown and prepared (and its
    // run started and the window minimized for the autostart), the yoke
    // status window started when a yoke is configured, and this window
    // unloaded.
    void openRunWindow(bool runNow);
    void autostart();

    bool countdownCancelled_ = false;
    int countdownShown_ = 0;
    std::string shownFileName_;
    BusyFlag loading_;

    QListWidget* FileBox;
    QLineEdit* FileName;
    QLabel* TextAutostart;
    QLineEdit* BoxAutoStartTime;
    QLabel* Textseconds;
    QLabel* lblsim;
    QTimer TimerWaitForFS_;
    QTimer Timer2_;
};

} // namespace varnet

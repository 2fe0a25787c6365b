#pragma once

// The UDP link test window: opens and closes the link by hand, sends single
// DSEL, USEL, DATA and CHAR packets, shows the last packet sent and every
// received datagram raw and decoded. While it is running, received DATA
// packets are shown here and not handed to the sim ports.
//
// The address boxes show the settings, and follow them (a "set" on the
// configuration screen) until the user types into them. Start opens a
// closed link on what they hold (the ports checked by the configuration
// screen's rule), without changing the settings: an address can be tried
// out. A link open already is another window's: it goes on with the
// settings (OpenUDP) and the test shares it. From Start on, the boxes show
// what the link really uses, also when another window opens it anew on
// other settings. "Running" stands only for a link that is open.

#include "config/tables.h"
#include "platform/form.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace varnet {

class SimCom;

// The last packet sent as the window shows it: each byte's number followed
// by a point ("68.65.84.65.48.").
QString TransmittedText(const QByteArray& packet);

// The send boxes read as numbers from their leading numeric text ("3 x"
// reads 3); nothing when the box cannot be used, and the window then shows
// the box's rule.
inline constexpr const char* kIndexRule = "Index must be a number between 0 and 255";
inline constexpr const char* kSlotRule = "Val# must be a number between 0 and 7";
inline constexpr const char* kFloatDataRule = "Data must be a number within the range of a Single";
inline constexpr const char* kIntegerDataRule = "Data must be a number between -2147483648 and 2147483647";
inline constexpr const char* kCharacterRule = "Data must begin with a character of code 0 to 255";
std::optional<Byte> TestIndex(const QString& text);
std::optional<int> TestSlot(const QString& text);
std::optional<Single> TestFloatData(const QString& text);
std::optional<Long> TestIntegerData(const QString& text);
std::optional<int> TestCharacterCode(const QString& text);

class frmTestXplaneInterface final : public Form {
    Q_OBJECT

public:
    frmTestXplaneInterface();

    void Form_Load() override;
    // Boxes not typed into show the settings as they are now.
    void Form_Activate() override;

    // Loads the window when needed and shows it in front.
    static void ShowWindow();

    // Its address boxes show the settings of the configuration it was
    // opened on, and its byte-order choice stores that setting, which does
    // not mark the configuration changed: it is the configuration's, which
    // a load asks about until a save (SessionState::StoredNotSaved).
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    void Form_CloseUnasked() override;

protected:
    void Form_Unload() override;
    void Form_TitleBarClose() override { CmdExit_Click(); }

private:
    void cmdStartUDP_Click();
    void CmdStopUDP_Click();
    void CmdExit_Click();
    void cmdDataUdp_Click();
    void cmdSendDataInteger_Click();
    void cmdSendCharacter_Click();
    void cmdDSEL_Click();
    void cmdUSEL_Click();
    void cmdView_Click();
    void ByteOrder_Click(bool reverse);
    void showReceived(const QString& raw, const QString& converted);
    void showRunState();
    // The boxes the user has not typed into show the settings.
    void showSettings();
    // While running: the ends the link uses, or Stopped when it closed.
    void linkChanged(SimCom& link);

    // The box read by `read`; shows `rule` and gives nothing when it cannot
    // be used.
    template <typename T, typename Read>
    std::optional<T> box(const QLineEdit* edit, Read read, const char* rule);

    QLineEdit* boxRemoteIP;
    QLineEdit* boxRemotePort;
    QLineEdit* boxLocalPort;
    QRadioButton* OptionByteOrderNormal;
    QRadioButton* OptionByteOrderReverse;
    QLineEdit* BoxRun;
    // Datagrams from hosts other than X-Plane, which the link ignored.
    QLineEdit* boxIgnored;
    QLineEdit* boxIndex;
    QLineEdit* boxValue;
    QLineEdit* boxData;
    QPlainTextEdit* Text1;
    QPlainTextEdit* UDPraw;
    QPlainTextEdit* UDPProcessed;

    bool running_ = false;
};

} // namespace varnet

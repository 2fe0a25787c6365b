#pragma once

#include <QString>
#include <optional>

class QLineEdit;

namespace varnet {

// What a window asks before it drops edits that are not saved.
inline constexpr const char* kUpdatesNotSavedYet = "Updates are not saved yet; Continue?";

// Every message box of the program goes through this service: an OK box for
// information and errors, a Yes/No box for questions ending in "Continue?",
// and an input box. Boxes carry the application title and no icon. Tests
// install a scripted service so that nothing blocks on a real modal box.
class MessageService {
public:
    virtual ~MessageService() = default;

    virtual void ok(const QString& text) = 0;
    // true for Yes. Yes is the default button.
    virtual bool yesNo(const QString& text) = 0;
    // A question whose Yes deletes or discards something: No is the default
    // button, so Enter keeps what is there, and Escape answers No.
    virtual bool yesNoDefaultNo(const QString& text) { return yesNo(text); }
    // The typed text, or nothing when the box was cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& defaultText) = 0;
};

// The service in use; the real boxes unless a test installed another one.
MessageService& messages();

// Installs `service` (not owned) and returns the one it replaces;
// nullptr restores the real boxes.
MessageService* setMessageService(MessageService* service);

// Text typed into `box` that its window does not take: an OK box states the
// rule, then the text stays in the box, selected and with the focus, to be
// corrected (unless the box went while the message was open).
void RefuseTyped(QLineEdit& box, const QString& rule);

// The real boxes, shown modal over the active window. A request to end the
// program (RequestEnd) closes them as Escape does: OK, No, cancelled.
class WidgetMessageService final : public MessageService {
public:
    void ok(const QString& text) override;
    bool yesNo(const QString& text) override;
    bool yesNoDefaultNo(const QString& text) override;
    std::optional<QString> input(const QString& prompt, const QString& defaultText) override;
};

} // namespace varnet

#pragma once

#include "platform/messages.h"

#include <QString>
#include <deque>
#include <optional>

namespace varnet::testing {

// Answers message boxes from a script. Every box must be expected, in order,
// with its exact text; an unexpected box fails the running test and is
// answered No / cancelled so that the code under test goes on.
// Installs itself for its lifetime and checks on destruction that the whole
// script was used.
class ScriptedMessages final : public MessageService {
public:
    ScriptedMessages() : previous_(setMessageService(this)) {}
    ~ScriptedMessages() override;
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void expectOk(const QString& text) { script_.push_back({Kind::Ok, text, false, {}}); }
    void expectYesNo(const QString& text, bool answerYes) { script_.push_back({Kind::YesNo, text, answerYes, {}}); }
    // A question that must have No as its default button (Yes deletes or discards).
    void expectYesNoDefaultNo(const QString& text, bool answerYes)
    {
        script_.push_back({Kind::YesNo, text, answerYes, {}, true});
    }
    void expectInput(const QString& prompt, std::optional<QString> answer)
    {
        script_.push_back({Kind::Input, prompt, false, std::move(answer)});
    }

    // Boxes not yet shown.
    std::size_t pending() const { return script_.size(); }

    void ok(const QString& text) override { next(Kind::Ok, text); }
    bool yesNo(const QString& text) override { return next(Kind::YesNo, text) && current_.yes; }
    bool yesNoDefaultNo(const QString& text) override { return next(Kind::YesNo, text, true) && current_.yes; }
    std::optional<QString> input(const QString& prompt, const QString&) override
    {
        return next(Kind::Input, prompt) ? current_.answer : std::nullopt;
    }

private:
    enum class Kind { Ok, YesNo, Input };
    struct Expected {
        Kind kind = Kind::Ok;
        QString text;
        bool yes = false;
        std::optional<QString> answer;
        bool defaultNo = false;  // expected: No is the default; asked: it was
    };
    // Takes the next box from the script into current_; false when it is
    // not this one.
    bool next(Kind kind, const QString& text, bool defaultNo = false);

    std::deque<Expected> script_;
    Expected current_;
    MessageService* previous_;
};

} // namespace varnet::testing

#include "support/scripted_messages.h"

#include <gtest/gtest.h>

namespace varnet::testing {

namespace {

const char* kindName(int kind)
{
    static const char* const names[] = {"OK box", "Yes/No box", "input box"};
    return names[kind];
}

} // namespace

ScriptedMessages::ScriptedMessages() : previous_(setMessageService(this)) {}

ScriptedMessages::~ScriptedMessages()
{
    setMessageService(previous_);
    for (const Expected& e : script_)
        ADD_FAILURE() << "expected " << kindName(int(e.kind)) << " never shown: \""
                      << e.text.toStdString() << "\"";
}

void ScriptedMessages::expectOk(const QString& text)
{
    script_.push_back({Kind::Ok, text, false, std::nullopt});
}

void ScriptedMessages::expectYesNo(const QString& text, bool answerYes)
{
    script_.push_back({Kind::YesNo, text, answerYes, std::nullopt});
}

void ScriptedMessages::expectInput(const QString& prompt, std::optional<QString> answer)
{
    script_.push_back({Kind::Input, prompt, false, std::move(answer)});
}

const ScriptedMessages::Expected* ScriptedMessages::next(Kind kind, const QString& text)
{
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(int(kind)) << ": \"" << text.toStdString() << "\"";
        return nullptr;
    }
    current_ = script_.front();
    script_.pop_front();
    if (current_.kind != kind || current_.text != text) {
        ADD_FAILURE() << "expected " << kindName(int(current_.kind)) << " \"" << current_.text.toStdString()
                      << "\" but got " << kindName(int(kind)) << " \"" << text.toStdString() << "\"";
        return nullptr;
    }
    return &current_;
}

void ScriptedMessages::ok(const QString& text)
{
    next(Kind::Ok, text);
}

bool ScriptedMessages::yesNo(const QString& text)
{
    const Expected* e = next(Kind::YesNo, text);
    return e && e->yes;
}

std::optional<QString> ScriptedMessages::input(const QString& prompt, const QString&)
{
    const Expected* e = next(Kind::Input, prompt);
    return e ? e->answer : std::nullopt;
}

} // namespace varnet::testing

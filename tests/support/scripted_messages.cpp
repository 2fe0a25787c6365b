#include "support/scripted_messages.h"

#include <gtest/gtest.h>

namespace varnet::testing {

namespace {

std::string describe(int kind, const QString& text)
{
    static const char* const names[] = {"OK box", "Yes/No box", "input box"};
    return names[kind] + std::string(" \"") + text.toStdString() + "\"";
}

} // namespace

ScriptedMessages::~ScriptedMessages()
{
    setMessageService(previous_);
    for (const Expected& e : script_)
        ADD_FAILURE() << "expected " << describe(int(e.kind), e.text) << " never shown";
}

bool ScriptedMessages::next(Kind kind, const QString& text, bool defaultNo)
{
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << describe(int(kind), text);
        return false;
    }
    current_ = script_.front();
    script_.pop_front();
    if (current_.kind == kind && current_.text == text) {
        // A question scripted as a safe one must be asked with No as default.
        if (current_.defaultNo && !defaultNo)
            ADD_FAILURE() << describe(int(kind), text) << " has Yes as its default button, not No";
        return true;
    }
    ADD_FAILURE() << "expected " << describe(int(current_.kind), current_.text) << " but got "
                  << describe(int(kind), text);
    return false;
}

} // namespace varnet::testing

#include "simlink/keystrokes.h"

#include "platform/keystrokes.h"
#include "support/fake_keystrokes.h"
#include "support/scripted_messages.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace varnet::testing {
namespace {

constexpr int kCtrl = 0x8000;
constexpr int kShift = 0x4000;

int keyNumber(int n) { return n << 8; }
int characterKey(unsigned char c) { return keyNumber(1) | c; }

QString notMinimizedText(const QString& s)
{
    return "Keystroke received from IO module: " + s + "\r\nTo send to FS this window must be minimized";
}

TEST(KeySequenceText, ModifiersCharactersAndNamedKeys)
{
    // 0x8800 also as the Integer column stores it; the character is Latin-1.
    const std::pair<int, QString> texts[] = {{0x0161, "a"}, {0x4161, "+a"}, {0x8800, "^{ENTER}"}, {std::int16_t(0x8800), "^{ENTER}"},
                                             {kCtrl | kShift | keyNumber(37), "^+{F16}"}, {characterKey(0xE9), "\u00e9"}};
    for (const auto& [code, text] : texts)
        EXPECT_EQ(KeySequenceText(code), text) << std::hex << code;
    for (const char c : QByteArray("}{+%^)([]~"))
        EXPECT_EQ(KeySequenceText(characterKey(c)), QString("{%1}").arg(c));
    // Codes without a key give no text.
    for (const int code : {0, kCtrl | kShift | 0x61, keyNumber(38) | 0x61, kCtrl | keyNumber(63)})
        EXPECT_EQ(KeySequenceText(code), "") << std::hex << code;
}

TEST(KeySequenceText, EveryKeyIsOneKeyOfTheInjectorsNotation)
{
    const auto expectOneKey = [](int code, auto&& check) {
        const auto keys = parseKeySequence(KeySequenceText(code));
        ASSERT_TRUE(keys && keys->size() == 1) << std::hex << code;
        EXPECT_EQ(std::pair(keys->front().ctrl, keys->front().shift), std::pair((code & kCtrl) != 0, (code & kShift) != 0));
        check(keys->front());
    };
    for (int c = 0; c < 256; ++c)
        expectOneKey(kShift | characterKey(c), [c](const SequenceKey& key) { EXPECT_EQ(std::pair(key.named, key.character), std::pair(std::optional<NamedKey>(), QChar(c))); });
    for (int n = 2; n < kKeyNameCount; ++n)
        expectOneKey(kCtrl | keyNumber(n), [](const SequenceKey& key) { EXPECT_TRUE(key.named); });
}

class SendKeystrokeTest : public ::testing::Test {
protected:
    ~SendKeystrokeTest() override { RunWindowMinimized = nullptr; }

    FakeKeystrokes injector;
    ScriptedMessages boxes;
};

TEST_F(SendKeystrokeTest, TypesOnlyWhileTheRunWindowIsMinimized)
{
    SendKeystroke(0x8800, true);
    EXPECT_EQ(injector.sent(), QStringList{"^{ENTER}"});

    injector.clearSent();
    boxes.expectOk(notMinimizedText("+a"));
    boxes.expectOk(notMinimizedText("+a"));
    SendKeystroke(0x4161, false);
    SendKeystroke(0x4161, false);
    // A code without a key neither types nor shows a box.
    for (const bool minimized : {true, false}) {
        SendKeystroke(kCtrl | kShift | 0x61, minimized);
        SendKeystroke(keyNumber(50), minimized);
    }
    EXPECT_TRUE(injector.sent().isEmpty());

    // Not told, it asks the run window.
    boxes.expectOk(notMinimizedText("{F1}"));
    SendKeystroke(keyNumber(22));
    RunWindowMinimized = [] { return true; };
    SendKeystroke(keyNumber(22));
    // Every code is a keyboard stroke.
    KeyName.clear();
    ConvertKeytoName(0x8800);
    EXPECT_EQ(std::tuple(injector.sent(), KeyName), std::tuple(QStringList{"{F1}"}, "KB Stroke"));
}

} // namespace
} // namespace varnet::testing

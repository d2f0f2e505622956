#include "platform/keys.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace forms::keys;

KeyStroke typed(char32_t character) { return {.character = character}; }
KeyStroke withCtrl(char32_t character) { return {.character = character, .control = true}; }

TEST(Keys, KeyStrokesGiveTheCodesOfTheOtherEdition) {
    EXPECT_EQ(typedCode(typed(U'5')), std::optional<std::int16_t>('5'));
    EXPECT_EQ(typedCode(typed(U'-')), std::optional<std::int16_t>('-'));
    EXPECT_EQ(typedCode({.backspace = true}), backspace);
    EXPECT_EQ(typedCode(withCtrl(U'v')), paste);
    EXPECT_EQ(typedCode(withCtrl(U'C')), copy);  // Ctrl+Shift: the same letter
    EXPECT_EQ(typedCode(withCtrl(U'x')), cut);
    EXPECT_EQ(typedCode(withCtrl(U'a')), selectAll);
    EXPECT_EQ(typedCode(withCtrl(U'z')), 26);
    EXPECT_EQ(typedCode({.character = U'\b', .backspace = true, .control = true}), controlBackspace);
    // A character beyond 16 bits has a code of none: it goes nowhere.
    EXPECT_EQ(typedCode(typed(U'\U0001F600')), 0);
    EXPECT_EQ(typedCode(typed(U'\uFFFF')), -1);
}

TEST(Keys, KeysThatTypeNothingAreTheFieldsOwn) {
    for (const KeyStroke& key : {typed(0), typed(U'\r'), typed(0x7F), withCtrl(U'1'), withCtrl(0),
                                 KeyStroke{.character = U'5', .otherModifier = true},
                                 KeyStroke{.character = U'v', .control = true, .otherModifier = true}})
        EXPECT_EQ(typedCode(key), std::nullopt) << static_cast<int>(key.character);
    EXPECT_TRUE(makesControlCharacter(withCtrl(U'A')));
    EXPECT_TRUE(makesControlCharacter({.backspace = true, .control = true}));
    EXPECT_FALSE(makesControlCharacter(typed(U'A')));
    EXPECT_FALSE(makesControlCharacter({.character = U'A', .control = true, .otherModifier = true}));
}

TEST(Keys, TheFieldCarriesOutWhatTheHandlerLetThrough) {
    EXPECT_EQ(editAction(0), EditAction::Nothing);
    EXPECT_EQ(editAction(selectAll), EditAction::SelectAll);
    EXPECT_EQ(editAction(copy), EditAction::Copy);
    EXPECT_EQ(editAction(cut), EditAction::Cut);
    EXPECT_EQ(editAction(paste), EditAction::Paste);
    EXPECT_EQ(editAction(backspace), EditAction::Backspace);
    EXPECT_EQ(editAction('7'), EditAction::Insert);
    EXPECT_EQ(editAction(0x4E2D), EditAction::Insert);
    for (const int code : {13, 26, int{controlBackspace}, 0xD800 - 0x10000, 0xDFFF - 0x10000})
        EXPECT_EQ(editAction(static_cast<std::int16_t>(code)), EditAction::Nothing) << code;
    EXPECT_EQ(characterCode(0x10000), std::nullopt);
}

}  // namespace

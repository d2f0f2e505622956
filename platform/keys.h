#pragma once
// The character codes that a text field's key press handler sees, and what
// the field does with the code the handler lets through. Every platform
// describes a pressed key in these terms (Windows hands over the codes of its
// characters itself); the rules here decide, the same for each.
#include <cstdint>
#include <optional>

namespace forms::keys {

// The control codes that keys make besides printable characters.
constexpr std::int16_t selectAll = 1;  // Ctrl+A
constexpr std::int16_t copy = 3;       // Ctrl+C
constexpr std::int16_t backspace = 8;
constexpr std::int16_t paste = 22;  // Ctrl+V
constexpr std::int16_t cut = 24;    // Ctrl+X
constexpr std::int16_t controlBackspace = 127;

// A key pressed in a text field, as the platform reports it.
struct KeyStroke {
    char32_t character = 0;  // what the key types; 0 for a key that types nothing
    bool backspace = false;
    bool control = false;        // Ctrl held, with Shift or without
    bool otherModifier = false;  // a modifier besides Shift and Ctrl: a shortcut, not typing
};

// The code of a character, none for one beyond 16 bits: the handler could
// only swallow it.
std::optional<std::int16_t> characterCode(char32_t character);

// The code that the key press handler sees for a key stroke. None for a key
// that makes no character (Delete, arrows, Enter, Ctrl+digit...), which the
// field handles as its own; 0 for a character without a code, which goes
// nowhere.
std::optional<std::int16_t> typedCode(const KeyStroke& key);

// Whether Ctrl with the key makes a control character for the handler to
// judge: the field's own shortcut for the key would act past the handler.
bool makesControlCharacter(const KeyStroke& key);

// What a one-line field does with a code that the handler let through.
enum class EditAction { Nothing, SelectAll, Copy, Cut, Paste, Backspace, Insert };
EditAction editAction(std::int16_t code);

}  // namespace forms::keys

#include "platform/keys.h"

namespace forms::keys {

namespace {

bool isControlCharacter(char32_t character) { return character < 0x20 || character == 0x7F; }

bool isSurrogate(char32_t character) { return character >= 0xD800 && character <= 0xDFFF; }

}  // namespace

std::optional<std::int16_t> characterCode(char32_t character) {
    if (character > 0xFFFF) return std::nullopt;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(character));
}

std::optional<std::int16_t> typedCode(const KeyStroke& key) {
    if (key.otherModifier) return std::nullopt;
    if (key.control) {
        // Ctrl with a letter, either case, is its place in the alphabet.
        const char32_t letter = key.character >= U'A' && key.character <= U'Z' ? key.character + 0x20
                                                                               : key.character;
        if (letter >= U'a' && letter <= U'z') return static_cast<std::int16_t>(letter - U'a' + 1);
        if (key.backspace) return controlBackspace;
        return std::nullopt;
    }
    if (key.backspace) return backspace;
    if (isControlCharacter(key.character)) return std::nullopt;
    return characterCode(key.character).value_or(0);
}

bool makesControlCharacter(const KeyStroke& key) { return key.control && typedCode(key).has_value(); }

EditAction editAction(std::int16_t code) {
    switch (code) {
        case selectAll: return EditAction::SelectAll;
        case copy: return EditAction::Copy;
        case cut: return EditAction::Cut;
        case paste: return EditAction::Paste;
        case backspace: return EditAction::Backspace;
        default: break;
    }
    // Other control characters and lone halves of a surrogate pair put
    // nothing into the field; 0 is the swallowed key.
    const auto character = static_cast<char32_t>(static_cast<std::uint16_t>(code));
    return isControlCharacter(character) || isSurrogate(character) ? EditAction::Nothing : EditAction::Insert;
}

}  // namespace forms::keys

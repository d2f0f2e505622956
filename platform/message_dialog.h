#pragma once
#include <string>

namespace platform {

// What a message tells the user; each kind has a single OK button.
enum class MessageKind { Information, Error };

class MessageDialog {
public:
    virtual ~MessageDialog() = default;
    // Shows a modal message over the main window; returns once the user has closed it.
    virtual void show(const std::wstring& text, MessageKind kind, const std::wstring& title) = 0;
};

}  // namespace platform

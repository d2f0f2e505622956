#pragma once
#include <string>

namespace platform {

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows a modal message box over the main window; gives back the button pressed.
    virtual int show(const std::wstring& text, int style, const std::wstring& title) = 0;
};

}  // namespace platform

#pragma once
// Owning wrappers for the GDI and user handles the binding creates.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace platform::win32 {

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};

using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

}  // namespace platform::win32

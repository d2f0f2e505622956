#pragma once
// Owning wrappers for the system handles the Win32 layer creates.
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
struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ModuleFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;
// Events and threads: CreateEvent and CreateThread give null on failure.
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;
using OwnedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

}  // namespace platform::win32

#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

std::optional<std::wstring> Win32SettingsStore::read(const std::wstring&, const std::wstring&,
                                                     const std::wstring&) {
    return std::nullopt;
}

bool Win32SettingsStore::write(const std::wstring&, const std::wstring&, const std::wstring&,
                               const std::wstring&) {
    return false;
}

}  // namespace platform::win32

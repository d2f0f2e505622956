#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using OwnedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// The per-user place where the classic settings functions of Windows
// programs keep their values, so that settings of earlier versions are found.
std::wstring sectionPath(const std::wstring& application, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section;
}

bool validNames(const std::wstring& application, const std::wstring& section) {
    return !application.empty() && !section.empty();
}

}  // namespace

std::optional<std::wstring> Win32SettingsStore::read(const std::wstring& application, const std::wstring& section,
                                                     const std::wstring& key) {
    if (!validNames(application, section)) return std::nullopt;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, sectionPath(application, section).c_str(), 0, KEY_QUERY_VALUE,
                      &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const OwnedKey sectionKey(opened);

    // The value may grow between asking its size and reading it; ask again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(sectionKey.get(), key.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        if (type != REG_SZ) return std::nullopt;  // not a text this program wrote
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD capacity = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status = RegQueryValueExW(sectionKey.get(), key.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(value.data()), &capacity);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
        // A stored text need not end in NUL; it ends at the first one or at its size.
        value.resize(capacity / sizeof(wchar_t));
        const std::size_t end = value.find(L'\0');
        if (end != std::wstring::npos) value.resize(end);
        return value;
    }
    return std::nullopt;
}

// The registry has no step that sets several values at once: they are set
// one by one, and a refused one does not keep the others from being set.
std::optional<StoreFailure> Win32SettingsStore::writeAll(const std::wstring& application,
                                                         const std::wstring& section,
                                                         const std::vector<Setting>& values) {
    const std::wstring path = sectionPath(application, section);
    const auto failure = [&](LSTATUS status) {
        return StoreFailure{L"HKEY_CURRENT_USER\\" + path, L"registry error " + std::to_wstring(status)};
    };
    if (!validNames(application, section)) return failure(ERROR_INVALID_NAME);
    HKEY created = nullptr;
    const LSTATUS opened = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_SET_VALUE, nullptr, &created, nullptr);
    if (opened != ERROR_SUCCESS) return failure(opened);
    const OwnedKey sectionKey(created);
    LSTATUS firstRefusal = ERROR_SUCCESS;
    for (const Setting& setting : values) {
        const DWORD bytes = static_cast<DWORD>((setting.value.size() + 1) * sizeof(wchar_t));
        const LSTATUS set = RegSetValueExW(sectionKey.get(), setting.key.c_str(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(setting.value.c_str()), bytes);
        if (firstRefusal == ERROR_SUCCESS) firstRefusal = set;
    }
    if (firstRefusal != ERROR_SUCCESS) return failure(firstRefusal);
    return std::nullopt;
}

}  // namespace platform::win32

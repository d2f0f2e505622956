#pragma once
// A per-user store of text values addressed by application, section and key.
#include <optional>
#include <string>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text; nullopt when the value is absent or cannot be read.
    // A stored empty text comes back as an empty string.
    virtual std::optional<std::wstring> read(const std::wstring& application,
                                             const std::wstring& section,
                                             const std::wstring& key) = 0;
    // False when the store refused the write.
    virtual bool write(const std::wstring& application, const std::wstring& section,
                       const std::wstring& key, const std::wstring& value) = 0;
};

}  // namespace platform

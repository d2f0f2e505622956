#pragma once
// A per-user store of text values addressed by application, section and key.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A text and the key it is stored under.
struct Setting {
    std::wstring key;
    std::wstring value;
};

// Why values were not stored, in words for the user: where they were to go
// and what the system answered.
struct StoreFailure {
    std::wstring place;
    std::wstring reason;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text; nullopt when the value is absent or cannot be read.
    // A stored empty text comes back as an empty string.
    virtual std::optional<std::wstring> read(const std::wstring& application,
                                             const std::wstring& section,
                                             const std::wstring& key) = 0;
    // Stores the texts under their keys, creating the application, section
    // and keys as needed and replacing earlier values; other keys keep
    // theirs. A store that can do so replaces them all in one step, so that
    // values stored at the same moment by another run never mix with these.
    // nullopt when every text was stored.
    virtual std::optional<StoreFailure> writeAll(const std::wstring& application, const std::wstring& section,
                                                 const std::vector<Setting>& values) = 0;
};

}  // namespace platform

#pragma once
// The settings store of the Linux edition: one INI file per application,
// <config home>/<application>/settings.ini, a [section] per section. A byte
// order mark at its start, as some editors write, is read past.
#include <filesystem>

#include "platform/settings_store.h"

namespace platform::posix {

class IniSettingsStore final : public SettingsStore {
public:
    // The files live under configHome; userConfigHome() is the user's.
    explicit IniSettingsStore(std::filesystem::path configHome);

    // $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
    static std::filesystem::path userConfigHome();

    std::optional<std::wstring> read(const std::wstring& application, const std::wstring& section,
                                     const std::wstring& key) override;
    // Replaces the whole file in one step, under a lock on settings.ini.lock
    // beside it: a crash leaves the old file or the new one, and runs that
    // store at the same moment leave the values of one of them. A file that
    // cannot be parsed is kept beside it as settings.ini.bad and replaced.
    std::optional<StoreFailure> writeAll(const std::wstring& application, const std::wstring& section,
                                         const std::vector<Setting>& values) override;

    // Where the values of an application are kept; empty for a name that is no
    // single directory name.
    std::filesystem::path fileOf(const std::wstring& application) const;

private:
    std::filesystem::path configHome_;
};

}  // namespace platform::posix

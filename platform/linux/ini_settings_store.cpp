#include "platform/linux/ini_settings_store.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/linux/whole_file.h"
#include "platform/linux/wide_text.h"

namespace platform::posix {

namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct GFreeDeleter {
    void operator()(void* memory) const { g_free(memory); }
};

// Group and key names are written bare in the file, so they must not carry
// what the format gives a meaning: brackets, '=', line breaks, edge blanks.
bool validName(const std::string& name) {
    if (name.empty() || name.front() == ' ' || name.back() == ' ' || name.front() == '#') return false;
    for (const unsigned char c : name)
        if (c < 0x20 || c == 0x7f || c == '[' || c == ']' || c == '=') return false;
    return true;
}

// Some editors put a byte order mark before UTF-8 text; it is no part of
// the key file.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

enum class Loaded { Read, Missing, Garbled, Unreadable };
struct Loading {
    Loaded outcome;
    int error = 0;  // why an unreadable file could not be read
};

// Garbled: the file is there and readable but is no key file (or no UTF-8).
Loading load(GKeyFile* keyFile, const std::filesystem::path& file) {
    std::string bytes;
    if (const int error = readWholeFile(file, bytes))
        return {error == ENOENT ? Loaded::Missing : Loaded::Unreadable, error};
    std::string_view text = bytes;
    if (text.starts_with(byteOrderMark)) text.remove_prefix(byteOrderMark.size());
    if (!g_key_file_load_from_data(keyFile, text.data(), text.size(), G_KEY_FILE_KEEP_COMMENTS, nullptr))
        return {Loaded::Garbled};
    return {Loaded::Read};
}

StoreFailure failure(const std::filesystem::path& file, int error) {
    return StoreFailure{fromUtf8Lossy(file.string()), fromUtf8Lossy(g_strerror(error))};
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::filesystem::path configHome) : configHome_(std::move(configHome)) {}

std::filesystem::path IniSettingsStore::userConfigHome() {
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured != nullptr && configured[0] == '/') return configured;
    return std::filesystem::path(g_get_home_dir()) / ".config";
}

std::filesystem::path IniSettingsStore::fileOf(const std::wstring& application) const {
    const std::optional<std::string> name = toUtf8(application);
    if (!name || name->empty() || *name == "." || *name == ".." || name->find('/') != std::string::npos)
        return {};
    return configHome_ / *name / "settings.ini";
}

std::optional<std::wstring> IniSettingsStore::read(const std::wstring& application, const std::wstring& section,
                                                   const std::wstring& key) {
    const std::filesystem::path file = fileOf(application);
    const std::optional<std::string> group = toUtf8(section);
    const std::optional<std::string> name = toUtf8(key);
    if (file.empty() || !group || !name || !validName(*group) || !validName(*name)) return std::nullopt;

    const KeyFile keyFile(g_key_file_new());
    if (load(keyFile.get(), file).outcome != Loaded::Read) return std::nullopt;
    const std::unique_ptr<gchar, GFreeDeleter> value(
        g_key_file_get_string(keyFile.get(), group->c_str(), name->c_str(), nullptr));
    if (!value) return std::nullopt;
    return fromUtf8(value.get());
}

std::optional<StoreFailure> IniSettingsStore::writeAll(const std::wstring& application,
                                                       const std::wstring& section,
                                                       const std::vector<Setting>& values) {
    const std::filesystem::path file = fileOf(application);
    const std::optional<std::string> group = toUtf8(section);
    if (file.empty()) return failure(configHome_, EINVAL);
    if (!group || !validName(*group)) return failure(file, EINVAL);
    std::vector<std::pair<std::string, std::string>> entries;
    for (const Setting& setting : values) {
        const std::optional<std::string> name = toUtf8(setting.key);
        const std::optional<std::string> text = toUtf8(setting.value);
        if (!name || !text || !validName(*name)) return failure(file, EINVAL);
        entries.emplace_back(*name, *text);
    }

    if (g_mkdir_with_parents(file.parent_path().c_str(), 0700) != 0) return failure(file, errno);
    // Another run may store its settings at the same moment: the file is
    // read, changed and replaced by one run at a time.
    const FileLock lock(std::filesystem::path(file) += ".lock");
    if (lock.error() != 0) return failure(file, lock.error());

    KeyFile keyFile(g_key_file_new());
    const Loading loading = load(keyFile.get(), file);
    switch (loading.outcome) {
        case Loaded::Read:
        case Loaded::Missing: break;
        case Loaded::Garbled: {
            // The user may have edited the file by hand: keep what was there
            // where it can be found, rather than overwrite it unseen.
            const std::filesystem::path kept = std::filesystem::path(file) += ".bad";
            if (g_rename(file.c_str(), kept.c_str()) != 0) return failure(file, errno);
            keyFile.reset(g_key_file_new());
            break;
        }
        case Loaded::Unreadable: return failure(file, loading.error);  // what cannot be read is not replaced
    }

    for (const auto& [name, text] : entries)
        g_key_file_set_string(keyFile.get(), group->c_str(), name.c_str(), text.c_str());
    gsize length = 0;
    const std::unique_ptr<gchar, GFreeDeleter> data(g_key_file_to_data(keyFile.get(), &length, nullptr));
    if (const int error = replaceWholeFile(file, std::string_view(data.get(), length)))
        return failure(file, error);
    return std::nullopt;
}

}  // namespace platform::posix

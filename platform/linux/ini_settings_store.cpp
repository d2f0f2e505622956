#include "platform/linux/ini_settings_store.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdlib>
#include <memory>

#include "platform/linux/wide_text.h"

namespace platform::posix {

namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct ErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorDeleter>;

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

enum class Loaded { Read, Missing, Garbled, Unreadable };

// Garbled: the file is there and readable but is no key file (or no UTF-8).
Loaded load(GKeyFile* keyFile, const std::filesystem::path& file) {
    GError* raw = nullptr;
    if (g_key_file_load_from_file(keyFile, file.c_str(), G_KEY_FILE_KEEP_COMMENTS, &raw)) return Loaded::Read;
    const Error error(raw);
    if (error->domain == G_KEY_FILE_ERROR) return Loaded::Garbled;
    if (g_error_matches(error.get(), G_FILE_ERROR, G_FILE_ERROR_NOENT)) return Loaded::Missing;
    return Loaded::Unreadable;
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
    if (load(keyFile.get(), file) != Loaded::Read) return std::nullopt;
    const std::unique_ptr<gchar, GFreeDeleter> value(
        g_key_file_get_string(keyFile.get(), group->c_str(), name->c_str(), nullptr));
    if (!value) return std::nullopt;
    return fromUtf8(value.get());
}

bool IniSettingsStore::write(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                             const std::wstring& value) {
    const std::filesystem::path file = fileOf(application);
    const std::optional<std::string> group = toUtf8(section);
    const std::optional<std::string> name = toUtf8(key);
    const std::optional<std::string> text = toUtf8(value);
    if (file.empty() || !group || !name || !text || !validName(*group) || !validName(*name)) return false;

    KeyFile keyFile(g_key_file_new());
    switch (load(keyFile.get(), file)) {
    case Loaded::Read:
        break;
    case Loaded::Missing:
        if (g_mkdir_with_parents(file.parent_path().c_str(), 0700) != 0) return false;
        break;
    case Loaded::Garbled: {
        // The user may have edited the file by hand: keep what was there
        // where it can be found, rather than overwrite it unseen.
        const std::filesystem::path kept = std::filesystem::path(file) += ".bad";
        if (g_rename(file.c_str(), kept.c_str()) != 0) return false;
        keyFile.reset(g_key_file_new());
        break;
    }
    case Loaded::Unreadable:
        return false;  // what cannot be read is not replaced
    }

    g_key_file_set_string(keyFile.get(), group->c_str(), name->c_str(), text->c_str());
    gsize length = 0;
    const std::unique_ptr<gchar, GFreeDeleter> data(g_key_file_to_data(keyFile.get(), &length, nullptr));
    // A temporary file renamed over the old one, synced first, so that
    // neither a crash nor a power loss leaves half a file.
    return g_file_set_contents_full(file.c_str(), data.get(), static_cast<gssize>(length),
                                    static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                                       G_FILE_SET_CONTENTS_DURABLE),
                                    0666, nullptr);
}

std::optional<StoreFailure> IniSettingsStore::writeAll(const std::wstring& application,
                                                       const std::wstring& section,
                                                       const std::vector<Setting>& values) {
    for (const Setting& setting : values)
        if (!write(application, section, setting.key, setting.value))
            return StoreFailure{fromUtf8Lossy(fileOf(application).string()), L"refused"};
    return std::nullopt;
}

}  // namespace platform::posix

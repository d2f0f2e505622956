#include "platform/kwin/kwin_scripting.h"

#include <glib/gstdio.h>

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace platform::kwin {

namespace {

constexpr int callTimeoutMs = 1000;
constexpr const char* kwinName = "org.kde.KWin";

// The reply of a method of KWin's, or nullptr when it failed or timed out.
GVariant* callKWin(GDBusConnection* bus, const std::string& path, const char* interface, const char* method,
                   GVariant* arguments, const GVariantType* replyType) {
    return g_dbus_connection_call_sync(bus, kwinName, path.c_str(), interface, method, arguments, replyType,
                                       G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMs, nullptr, nullptr);
}

// Sends the call and goes on: KWin handles a connection's calls in order,
// so a later call finds this one done.
void tellKWin(GDBusConnection* bus, const std::string& path, const char* interface, const char* method,
              GVariant* arguments) {
    g_dbus_connection_call(bus, kwinName, path.c_str(), interface, method, arguments, nullptr,
                           G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMs, nullptr, nullptr, nullptr);
}

}  // namespace

std::optional<ScriptFolder> ScriptFolder::make() {
    gchar* path = g_build_filename(g_get_user_runtime_dir(), "ambrisk2-kwin-XXXXXX", nullptr);
    // mkdtemp makes the folder with mode 0700.
    const bool made = g_mkdtemp(path) != nullptr;
    std::string kept = made ? path : "";
    g_free(path);
    if (!made) return std::nullopt;
    return ScriptFolder(std::move(kept));
}

ScriptFolder::~ScriptFolder() {
    if (path_.empty()) return;
    if (GDir* dir = g_dir_open(path_.c_str(), 0, nullptr)) {
        while (const gchar* name = g_dir_read_name(dir)) g_unlink((path_ + "/" + name).c_str());
        g_dir_close(dir);
    }
    g_rmdir(path_.c_str());
}

std::string ScriptFolder::write(const std::string& name, const std::string& text) const {
    const std::string file = path_ + "/" + name;
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return {};
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const bool whole = close(fd) == 0 && written == text.size();
    if (!whole) g_unlink(file.c_str());
    return whole ? file : std::string();
}

// KWin has read the file once the script has answered, or it never will.
LoadedScript::~LoadedScript() {
    tellKWin(bus_, "/Scripting", "org.kde.kwin.Scripting", "unloadScript", g_variant_new("(s)", name_.c_str()));
    g_unlink(file_.c_str());
}

// The first script's run is awaited, to learn where this KWin puts its
// scripts; the later ones are only sent, and their answers show they ran.
bool KWinScripting::run(int id) {
    const std::string number = std::to_string(id);
    std::string paths[2] = {"/", "/Scripting/Script"};
    for (std::string& path : paths) path += number;
    if (plasma6Paths_) {
        tellKWin(bus_, paths[*plasma6Paths_ ? 1 : 0], "org.kde.kwin.Script", "run", nullptr);
        return true;
    }
    for (const bool plasma6 : {false, true}) {
        GVariant* reply = callKWin(bus_, paths[plasma6 ? 1 : 0], "org.kde.kwin.Script", "run", nullptr, nullptr);
        if (reply == nullptr) continue;
        g_variant_unref(reply);
        plasma6Paths_ = plasma6;
        return true;
    }
    return false;
}

void KWinScripting::runAllLoaded() {
    if (GVariant* reply = callKWin(bus_, "/Scripting", "org.kde.kwin.Scripting", "start", nullptr, nullptr))
        g_variant_unref(reply);
}

LoadOutcome KWinScripting::load(const std::string& text) {
    const std::string name = "ambrisk2-" + std::to_string(getpid()) + "-" + std::to_string(++loaded_);
    const std::string file = folder_.write(name + ".js", text);
    if (file.empty()) return {nullptr, LoadFailure::notWritten};
    GVariant* reply = callKWin(bus_, "/Scripting", "org.kde.kwin.Scripting", "loadScript",
                               g_variant_new("(ss)", file.c_str(), name.c_str()), G_VARIANT_TYPE("(i)"));
    if (reply == nullptr) {
        g_unlink(file.c_str());
        return {nullptr, LoadFailure::unreachable};
    }
    gint32 id = -1;
    g_variant_get(reply, "(i)", &id);
    g_variant_unref(reply);
    // From here the script is KWin's, and unloaded whatever happens next.
    auto script = std::make_unique<LoadedScript>(bus_, name, file);
    if (id < 0 || !run(id)) return {nullptr, LoadFailure::refused};
    return {std::move(script), LoadFailure::none};
}

}  // namespace platform::kwin

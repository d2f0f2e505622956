#pragma once
// KWin's scripting interface on the session bus (org.kde.kwin.Scripting on
// /Scripting of org.kde.KWin): loads a script from a file, runs it, and
// unloads it by name. The files are private copies in a folder of this run's
// own (mode 0700, in the user's runtime folder), which goes with the run.
#include <gio/gio.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace platform::kwin {

class ScriptFolder {
public:
    // nullopt when no such folder can be made.
    static std::optional<ScriptFolder> make();
    ~ScriptFolder();
    ScriptFolder(ScriptFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    ScriptFolder(const ScriptFolder&) = delete;
    ScriptFolder& operator=(const ScriptFolder&) = delete;
    ScriptFolder& operator=(ScriptFolder&&) = delete;

    // The file's path; empty when it could not be written.
    std::string write(const std::string& name, const std::string& text) const;

private:
    explicit ScriptFolder(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// A script loaded into KWin, unloaded with this object.
class LoadedScript {
public:
    LoadedScript(GDBusConnection* bus, std::string name, std::string file)
        : bus_(bus), name_(std::move(name)), file_(std::move(file)) {}
    ~LoadedScript();
    LoadedScript(const LoadedScript&) = delete;
    LoadedScript& operator=(const LoadedScript&) = delete;

private:
    GDBusConnection* bus_;
    std::string name_, file_;
};

enum class LoadFailure { none, unreachable, refused, notWritten };

struct LoadOutcome {
    std::unique_ptr<LoadedScript> script;
    LoadFailure failure = LoadFailure::none;
};

class KWinScripting {
public:
    KWinScripting(GDBusConnection* bus, ScriptFolder folder) : bus_(bus), folder_(std::move(folder)) {}

    // Writes the text to a file of the folder, loads it under a name of its
    // own and runs it.
    LoadOutcome load(const std::string& text);
    // KWin's own start, which runs every loaded script that is not running.
    void runAllLoaded();

private:
    bool run(int id);

    GDBusConnection* bus_;
    ScriptFolder folder_;
    unsigned loaded_ = 0;
    // KWin 5.27 puts a loaded script at /<id>, Plasma 6 at
    // /Scripting/Script<id>; known once a script has run.
    std::optional<bool> plasma6Paths_;
};

}  // namespace platform::kwin

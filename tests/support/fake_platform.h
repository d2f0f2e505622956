#pragma once
// The fake platform that unit tests, benchmarks and the fuzzer hand to the
// main window.
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "tests/support/fake_desktop.h"

namespace fake {

// The executable's base name, under which the settings are stored.
constexpr const wchar_t* programName = L"Ambrisk2";

class FakeSettingsStore final : public platform::SettingsStore {
public:
    using Key = std::tuple<std::wstring, std::wstring, std::wstring>;
    std::map<Key, std::wstring> values;
    std::vector<std::wstring> writtenKeys;  // in the order written
    int batches = 0;                        // writeAll calls that stored
    std::vector<std::wstring> readKeys;     // in the order read
    std::function<void(const std::wstring& key)> beforeRead;  // lets a test look at the window mid-load
    bool failReads = false;
    bool failWrites = false;
    platform::StoreFailure refusal{L"/fake/settings.ini", L"Refused"};  // what failWrites reports

    std::optional<std::wstring> read(const std::wstring& application, const std::wstring& section,
                                     const std::wstring& key) override {
        readKeys.push_back(key);
        if (beforeRead) beforeRead(key);
        if (failReads) return std::nullopt;
        auto it = values.find({application, section, key});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    std::optional<platform::StoreFailure> writeAll(const std::wstring& application, const std::wstring& section,
                                                   const std::vector<platform::Setting>& settings) override {
        if (failWrites) return refusal;
        ++batches;
        for (const platform::Setting& setting : settings) {
            values[{application, section, setting.key}] = setting.value;
            writtenKeys.push_back(setting.key);
        }
        return std::nullopt;
    }
};

class FakeMessageDialog final : public platform::MessageDialog {
public:
    struct Shown {
        std::wstring text;
        platform::MessageKind kind;
        std::wstring title;
    };
    std::vector<Shown> shown;
    void show(const std::wstring& text, platform::MessageKind kind, const std::wstring& title) override {
        shown.push_back({text, kind, title});
    }
};

class FakeProcess final : public platform::Process {
public:
    std::wstring baseName = programName;
    wchar_t mark = L'.';
    std::wstring executableBaseName() override { return baseName; }
    wchar_t decimalMark() override { return mark; }
};

// All fakes together, ready to hand to a MainWindow.
struct FakePlatform {
    FakeDesktop desktop;
    FakeSettingsStore settings;
    FakeMessageDialog messageDialog;
    FakeProcess process;
    platform::Platform platform{desktop, settings, messageDialog, process};
};

}  // namespace fake

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/ini_settings_store.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/wide_text.h"

namespace {

namespace fs = std::filesystem;
using platform::posix::IniSettingsStore;

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A store over a fresh configuration home of its own.
struct IniStoreTest : ::testing::Test {
    fs::path home;
    IniSettingsStore store{""};

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ambrisk-ini-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        home = pattern;
        store = IniSettingsStore(home);
    }
    void TearDown() override { fs::remove_all(home); }

    fs::path file() const { return home / "Ambrisk2" / "settings.ini"; }
    std::optional<std::wstring> read(const std::wstring& key) { return store.read(L"Ambrisk2", L"Settings", key); }
    bool write(const std::wstring& key, const std::wstring& value) {
        return !store.writeAll(L"Ambrisk2", L"Settings", {{key, value}});
    }
};

TEST_F(IniStoreTest, AbsentKeyIsToldFromEmptyValueAndEachProgramNameHasItsOwnFile) {
    EXPECT_EQ(read(L"CustomWidth"), std::nullopt);
    ASSERT_TRUE(write(L"CustomWidth", L""));
    EXPECT_EQ(read(L"CustomWidth"), std::wstring());
    EXPECT_EQ(read(L"CustomHeight"), std::nullopt);
    EXPECT_EQ(store.read(L"Copy", L"Settings", L"CustomWidth"), std::nullopt);
    EXPECT_EQ(store.read(L"Ambrisk2", L"Other", L"CustomWidth"), std::nullopt);

    ASSERT_TRUE(write(L"TaskBar", L"28"));
    EXPECT_EQ(contentsOf(file()), "[Settings]\nCustomWidth=\nTaskBar=28\n");
    EXPECT_EQ(fs::status(file().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);

    // Names that are no single directory, group or key are refused, not mapped elsewhere.
    for (const std::wstring application : {L"", L".", L"..", L"a/b"}) {
        EXPECT_TRUE(store.writeAll(application, L"Settings", {{L"k", L"v"}}));
        EXPECT_EQ(store.read(application, L"Settings", L"k"), std::nullopt);
    }
    EXPECT_TRUE(store.writeAll(L"Ambrisk2", L"Set]tings", {{L"k", L"v"}}));
    EXPECT_FALSE(write(L"Pos=Left", L"v"));
    EXPECT_FALSE(write(L"Pos\nLeft", L"v"));
}

TEST_F(IniStoreTest, OddTextsComeBackAsWritten) {
    const std::wstring texts[] = {L"  blanks around  ", L"two\nlines\r\n", L"#hash ;semicolon =equals",
                                  L"back\\slash \\s \\n", L"[Settings]", L"\ttab", L"窗口 1024 x 768 😀"};
    for (std::size_t i = 0; i < std::size(texts); ++i) ASSERT_TRUE(write(L"Key" + std::to_wstring(i), texts[i]));
    IniSettingsStore again(home);
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(again.read(L"Ambrisk2", L"Settings", L"Key" + std::to_wstring(i)), texts[i]) << i;
    // Not Unicode: refused rather than written mangled.
    EXPECT_FALSE(write(L"Key0", std::wstring(1, static_cast<wchar_t>(0xD800))));
    EXPECT_EQ(read(L"Key0"), texts[0]);
}

TEST_F(IniStoreTest, FailedWriteLeavesTheOldFileWholeAndSaysWhereAndWhy) {
    ASSERT_TRUE(write(L"Border", L"3"));
    const std::string before = contentsOf(file());

    // A file size limit makes the write stop part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto failure = store.writeAll(L"Ambrisk2", L"Settings", {{L"CustomWidth", std::wstring(1000, L'9')}});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->place, file().wstring());
    EXPECT_EQ(failure->reason, L"File too large");
    EXPECT_EQ(contentsOf(file()), before);
    EXPECT_EQ(read(L"Border"), L"3");
    for (const auto& entry : fs::directory_iterator(file().parent_path()))
        EXPECT_TRUE(entry.path() == file() || entry.path() == (fs::path(file()) += ".lock"))
            << "left behind: " << entry.path();
}

TEST_F(IniStoreTest, GarbledFileGivesNothingAndIsKeptAsideAtTheNextWrite) {
    fs::create_directories(file().parent_path());
    const std::string garbled = "PosLeft=12\nnot a setting\n[Settings\n";
    std::ofstream(file(), std::ios::binary) << garbled;
    EXPECT_EQ(read(L"PosLeft"), std::nullopt);

    ASSERT_TRUE(write(L"PosLeft", L"60"));
    EXPECT_EQ(read(L"PosLeft"), L"60");
    EXPECT_EQ(contentsOf(fs::path(file()) += ".bad"), garbled);

    // A value that is no UTF-8 is absent; the rest of the file still reads.
    std::ofstream(file(), std::ios::binary) << "[Settings]\nTaskBar=\xff\xfe\nBorder=3\n";
    EXPECT_EQ(read(L"TaskBar"), std::nullopt);
    EXPECT_EQ(read(L"Border"), L"3");

    // A settings "file" that cannot be read is neither read nor replaced.
    fs::remove(file());
    fs::create_directory(file());
    EXPECT_EQ(read(L"Border"), std::nullopt);
    const auto failure = store.writeAll(L"Ambrisk2", L"Settings", {{L"Border", L"3"}});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, L"Is a directory");
    EXPECT_TRUE(fs::is_directory(file()));
}

TEST_F(IniStoreTest, FileOfAnEditorThatWritesAByteOrderMarkIsReadAndKept) {
    fs::create_directories(file().parent_path());
    std::ofstream(file(), std::ios::binary) << "\xEF\xBB\xBF[Settings]\nBorder=7\n";
    EXPECT_EQ(read(L"Border"), L"7");
    ASSERT_TRUE(write(L"TaskBar", L"28"));
    EXPECT_EQ(contentsOf(file()), "[Settings]\nBorder=7\nTaskBar=28\n");
    EXPECT_FALSE(fs::exists(fs::path(file()) += ".bad"));
}

// Whether a settings file holds ten keys, all with the same value.
bool holdsOneBatch(const std::string& text) {
    std::istringstream lines(text);
    std::set<std::string> values;
    int keys = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        ++keys;
        values.insert(line.substr(equals + 1));
    }
    return keys == 10 && values.size() == 1;
}

TEST_F(IniStoreTest, RunsStoringAtTheSameMomentLeaveTheTenOfOneOfThem) {
    const auto batch = [](const std::wstring& value) {
        std::vector<platform::Setting> ten;
        for (int key = 0; key < 10; ++key) ten.push_back({L"Key" + std::to_wstring(key), value});
        return ten;
    };
    std::atomic<int> writing = 2;
    std::atomic<bool> refused = false;
    const auto run = [&](const std::wstring& name) {
        IniSettingsStore own(home);
        for (int round = 0; round < 25; ++round)
            if (own.writeAll(L"Ambrisk2", L"Settings", batch(name + std::to_wstring(round)))) refused = true;
        --writing;
    };
    std::thread first(run, L"first"), second(run, L"second");
    std::vector<std::string> mixed;
    while (writing > 0) {
        const std::string text = contentsOf(file());
        if (!text.empty() && !holdsOneBatch(text)) mixed.push_back(text);
    }
    first.join();
    second.join();
    EXPECT_FALSE(refused);
    EXPECT_TRUE(mixed.empty()) << mixed.size() << " mixed, such as:\n" << mixed.front();
    EXPECT_TRUE(holdsOneBatch(contentsOf(file()))) << contentsOf(file());
}

TEST(IniStoreHome, FollowsXdgConfigHomeOnlyWhenItIsAbsolute) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved ? saved : "";
    const fs::path fallback = fs::path(std::getenv("HOME")) / ".config";

    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(IniSettingsStore::userConfigHome(), "/somewhere/config");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(IniSettingsStore::userConfigHome(), fallback);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(IniSettingsStore::userConfigHome(), fallback);

    if (saved) setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
}

TEST(WideText, CrossesToUtf8AndBackOnlyAsUnicode) {
    using namespace platform::posix;
    const std::wstring text = L"a\u00e9\u7a97\U0001F600";
    EXPECT_EQ(toUtf8(text), "a\xc3\xa9\xe7\xaa\x97\xf0\x9f\x98\x80");
    EXPECT_EQ(fromUtf8(*toUtf8(text)), text);
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00))), std::nullopt);
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), std::nullopt);
    // Overlong, surrogate, beyond U+10FFFF, cut short, stray continuation.
    for (const char* bad : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe7\xaa", "\x80"})
        EXPECT_EQ(fromUtf8(bad), std::nullopt) << bad;
    EXPECT_EQ(fromUtf8Lossy("ok\xff!"), L"ok\uFFFD!");
}

TEST(LinuxProcess, NamesTheRunningProgramAndAMarkOfTheLocale) {
    platform::posix::LinuxProcess process;
    EXPECT_EQ(process.executableBaseName(), L"unit_tests");
    const char* saved = std::getenv("LC_ALL");
    const std::string previous = saved ? saved : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(process.decimalMark(), L'.');
    if (saved) setenv("LC_ALL", previous.c_str(), 1);
    else unsetenv("LC_ALL");
}

}  // namespace

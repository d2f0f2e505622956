#include "platform/linux/linux_process.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "platform/linux/wide_text.h"

namespace platform::posix {

namespace {

struct LocaleDeleter {
    void operator()(locale_t locale) const { freelocale(locale); }
};
using OwnedLocale = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

// Makes a locale current for this thread for one scope.
class ThreadLocale {
public:
    explicit ThreadLocale(locale_t locale) : previous_(uselocale(locale)) {}
    ~ThreadLocale() { uselocale(previous_); }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

private:
    locale_t previous_;
};

}  // namespace

std::wstring LinuxProcess::executableBaseName() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return L"";
    std::string name = executable.filename().string();
    // A program file replaced while it runs (a package upgrade) is reported
    // with this mark; the settings belong to the name without it.
    constexpr std::string_view replacedMark = " (deleted)";
    if (name.ends_with(replacedMark)) name.resize(name.size() - replacedMark.size());
    return fromUtf8Lossy(std::filesystem::path(name).stem().string());
}

wchar_t LinuxProcess::decimalMark() {
    const OwnedLocale user(newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr)));
    if (!user) return L'.';
    // The mark is a multibyte character in the locale's own encoding.
    const ThreadLocale current(user.get());
    const char* mark = nl_langinfo_l(RADIXCHAR, user.get());
    wchar_t wide = L'\0';
    std::mbstate_t state{};
    const std::size_t length = std::mbrtowc(&wide, mark, std::strlen(mark), &state);
    if (length == 0 || length > std::strlen(mark)) return L'.';
    return wide;
}

}  // namespace platform::posix

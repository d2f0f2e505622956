#include "platform/linux/title_text.h"

#include "platform/linux/wide_text.h"

namespace platform::x11 {

namespace {

constexpr std::size_t bufferLength = 256;

}  // namespace

std::wstring utf8TitleBuffer(std::string_view utf8) {
    std::wstring buffer = posix::fromUtf8Lossy(utf8);
    if (buffer.size() > bufferLength - 1) buffer.resize(bufferLength - 1);
    buffer += L'\0';
    buffer.resize(bufferLength, L' ');
    return buffer;
}

}  // namespace platform::x11

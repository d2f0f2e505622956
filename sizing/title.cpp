#include "sizing/title.h"

namespace sizing {

namespace {

constexpr std::size_t bufferLength = 256;

}  // namespace

std::wstring shownTitle(std::wstring_view title) {
    std::wstring buffer(title.substr(0, bufferLength - 1));
    buffer += L'\0';
    buffer.resize(bufferLength, L' ');
    const std::size_t first = buffer.find_first_not_of(L' ');
    buffer = buffer.substr(first, buffer.find_last_not_of(L' ') - first + 1);
    std::erase(buffer, L'\0');
    return buffer;
}

}  // namespace sizing

#include "sizing/title.h"

namespace sizing {

std::wstring titleFromBuffer(std::wstring buffer) {
    const std::size_t first = buffer.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    buffer = buffer.substr(first, buffer.find_last_not_of(L' ') - first + 1);
    std::erase(buffer, L'\0');
    return buffer;
}

}  // namespace sizing

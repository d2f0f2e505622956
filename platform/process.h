#pragma once
#include <string>

namespace platform {

class Process {
public:
    virtual ~Process() = default;
    // The executable's file name without directory and extension, read anew
    // on every call.
    virtual std::wstring executableBaseName() = 0;
    // The user's decimal mark, for numbers shown with a fraction.
    virtual wchar_t decimalMark() = 0;
};

}  // namespace platform

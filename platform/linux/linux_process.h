#pragma once
// The running program as Linux reports it.
#include "platform/process.h"

namespace platform::posix {

class LinuxProcess final : public Process {
public:
    std::wstring executableBaseName() override;
    // From the user's LC_NUMERIC, whatever locale the process itself runs in.
    wchar_t decimalMark() override;
};

}  // namespace platform::posix

#pragma once
// The program's icon file (resources/ambrisk2.ico), built into the program.
#include <cstddef>

namespace platform::gtk {

extern const unsigned char appIconIco[];
extern const std::size_t appIconIcoSize;

}  // namespace platform::gtk

#pragma once
// Numbers in the entry fields, read and written the same wherever an entry's
// text is taken: in the field, by the settings and the defaults button, when
// a window is sized.
#include <string_view>

#include "platform/forms.h"

namespace numbers {

// The number an entry's text stands for. A number beyond the double range
// counts as 0, so that a pasted "1e400" never turns into some huge size.
double entryNumber(std::wstring_view text);

// Writes rule(number) into the entry in plain form. The entry cuts a text
// longer than it can hold, and a stump such as "1.2E+" would read back as
// another number; so the rule is applied to the stump again until the entry
// holds a text that reads as itself. A stump of five characters settles
// within three rounds.
void putSettledNumber(forms::Control& entry, double number, double (*rule)(double), wchar_t decimalMark);

}  // namespace numbers

#include "platform/entry_numbers.h"

#include <string>

#include "platform/numbers.h"

namespace numbers {

double entryNumber(std::wstring_view text) { return leadingNumber(text).value_or(0.0); }

void putSettledNumber(forms::Control& entry, double number, double (*rule)(double), wchar_t decimalMark) {
    std::wstring text = numberText(rule(number), decimalMark);
    for (int round = 0; round < 4; ++round) {
        entry.setText(text);
        if (entry.text() == text) return;
        text = numberText(rule(entryNumber(entry.text())), decimalMark);
    }
}

}  // namespace numbers

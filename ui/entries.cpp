#include <cmath>
#include <initializer_list>
#include <string>

#include "platform/entry_numbers.h"
#include "platform/keys.h"
#include "ui/main_window.h"

namespace ui {

namespace {

double wholeAndNonNegative(double number) { return std::fabs(std::floor(number)); }

// Whole and non-negative: down to the whole number first, so that -2.5
// becomes 3.
void normaliseField(forms::Control& field, wchar_t decimalMark) {
    numbers::putSettledNumber(field, numbers::entryNumber(field.text()), wholeAndNonNegative, decimalMark);
}

// Only a greater value is capped; a value equal to the screen size stays.
void capField(forms::Control& field, std::int32_t limit) {
    if (numbers::entryNumber(field.text()) > limit) field.setText(std::to_wstring(limit));
}

void enableAll(std::initializer_list<forms::Control*> controls, bool enabled) {
    for (forms::Control* control : controls) control->setEnabled(enabled);
}

void selectAll(forms::Control& field) {
    field.setSelStart(0);
    field.setSelLength(static_cast<int>(field.text().size()));
}

}  // namespace

void MainWindow::frmAmbrisk2_optRes_Click(std::int16_t index) {
    enableAll({&ctl(txtBreit), &ctl(txtHoch)}, index == customResolution);
    state_.selectedResolution = index;
}

void MainWindow::frmAmbrisk2_chkBorder_Click() { ctl(txtBorder).setEnabled(ctl(chkBorder).value() != 0); }

void MainWindow::frmAmbrisk2_chkTask_Click() {
    enableAll({&ctl(txtTask), &optTask(0), &optTask(1)}, ctl(chkTask).value() != 0);
}

void MainWindow::frmAmbrisk2_txtBreit_GotFocus() { selectAll(ctl(txtBreit)); }
void MainWindow::frmAmbrisk2_txtHoch_GotFocus() { selectAll(ctl(txtHoch)); }
void MainWindow::frmAmbrisk2_txtBorder_GotFocus() { selectAll(ctl(txtBorder)); }
void MainWindow::frmAmbrisk2_txtTask_GotFocus() { selectAll(ctl(txtTask)); }

void MainWindow::frmAmbrisk2_txtBreit_KeyPress(std::int16_t& keyAscii) { FilterNumericKey(keyAscii); }
void MainWindow::frmAmbrisk2_txtHoch_KeyPress(std::int16_t& keyAscii) { FilterNumericKey(keyAscii); }
void MainWindow::frmAmbrisk2_txtBorder_KeyPress(std::int16_t& keyAscii) { FilterNumericKey(keyAscii); }
void MainWindow::frmAmbrisk2_txtTask_KeyPress(std::int16_t& keyAscii) { FilterNumericKey(keyAscii); }

void MainWindow::NormaliseEntries() {
    const wchar_t decimalMark = platform_.process.decimalMark();
    normaliseField(ctl(txtBreit), decimalMark);
    capField(ctl(txtBreit), state_.screenWidth);
    normaliseField(ctl(txtHoch), decimalMark);
    capField(ctl(txtHoch), state_.screenHeight);
    normaliseField(ctl(txtBorder), decimalMark);
    normaliseField(ctl(txtTask), decimalMark);
}

void MainWindow::FilterNumericKey(std::int16_t& keyAscii) {
    using namespace forms::keys;
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != backspace && keyAscii != paste && keyAscii != copy && keyAscii != cut)
        keyAscii = 0;
}

}  // namespace ui

#include "platform/win32/form_binding.h"

#include <utility>

#include "platform/win32/form_window.h"

namespace platform::win32 {

FormBinding::FormBinding(forms::Form& form, const WindowSpec& design, HINSTANCE instance,
                         std::function<void()> closing)
    : window_(std::make_unique<FormWindow>(form, design, instance, std::move(closing))) {}

FormBinding::~FormBinding() = default;

bool FormBinding::created() const { return window_->created(); }

void FormBinding::show(int showCommand) { window_->show(showCommand); }

int FormBinding::runMessageLoop() { return window_->runMessageLoop(); }

}  // namespace platform::win32

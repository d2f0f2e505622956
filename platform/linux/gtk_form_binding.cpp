#include "platform/linux/gtk_form_binding.h"

#include <utility>

#include "platform/linux/gtk_form_window.h"

namespace platform::gtk {

FormBinding::FormBinding(forms::Form& form, const WindowSpec& design, std::function<void()> closing)
    : window_(std::make_unique<FormWindow>(form, design, std::move(closing))) {}

FormBinding::~FormBinding() = default;

bool FormBinding::created() const { return window_->created(); }

void FormBinding::show() { window_->show(); }

void FormBinding::runClosing() { window_->runClosing(); }

}  // namespace platform::gtk

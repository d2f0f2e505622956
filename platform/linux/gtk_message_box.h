#pragma once
// The modal message of the GTK edition: a GtkMessageDialog with one OK
// button over the active window of the program.
#include "platform/message_dialog.h"

namespace platform::gtk {

class MessageBox final : public MessageDialog {
public:
    void show(const std::wstring& text, MessageKind kind, const std::wstring& title) override;
};

}  // namespace platform::gtk

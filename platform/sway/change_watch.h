#pragma once
// Sway's window, workspace and output events on a connection of their own,
// read on GLib's main loop as they come. They tell which of the answers kept
// from Sway are out of date, so that nothing is asked while nothing changes.
// Once the events are lost, everything counts as out of date.
#include <glib.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/sway/ipc_socket.h"

namespace platform::sway {

class ChangeWatch {
public:
    // Null when the socket cannot be reached or refuses the subscription.
    static std::unique_ptr<ChangeWatch> start(const std::string& socketPath);
    ~ChangeWatch();
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    bool treeChanged() const { return treeChanged_ || lost(); }
    bool outputsChanged() const { return outputsChanged_ || lost(); }
    void treeRead() { treeChanged_ = false; }
    void outputsRead() { outputsChanged_ = false; }
    // Called after each batch of events, once the flags above are set.
    void listen(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    ChangeWatch(IpcSocket socket, bool outputEvents);
    static gboolean onReadable(gint fd, GIOCondition condition, gpointer self);
    bool readEvents();
    bool lost() const { return source_ == 0; }

    IpcSocket socket_;
    bool outputEvents_;
    guint source_ = 0;
    bool treeChanged_ = true, outputsChanged_ = true;
    std::function<void()> listener_;
};

}  // namespace platform::sway

#include "platform/sway/change_watch.h"

#include <glib-unix.h>

#include "platform/sway/sway_tree.h"

namespace platform::sway {

std::unique_ptr<ChangeWatch> ChangeWatch::start(const std::string& socketPath) {
    std::optional<IpcSocket> socket = IpcSocket::connect(socketPath);
    if (!socket) return nullptr;
    const auto subscribed = [&](const char* events) {
        const std::optional<std::string> reply = socket->request(MessageType::subscribe, events);
        return reply && commandsSucceeded("[" + *reply + "]");
    };
    if (!subscribed(R"(["window","workspace"])")) return nullptr;
    // Sway 1.7 has no output events yet.
    const bool outputEvents = subscribed(R"(["output"])");
    return std::unique_ptr<ChangeWatch>(new ChangeWatch(std::move(*socket), outputEvents));
}

ChangeWatch::ChangeWatch(IpcSocket socket, bool outputEvents)
    : socket_(std::move(socket)), outputEvents_(outputEvents) {
    source_ =
        g_unix_fd_add(socket_.fd(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), onReadable, this);
}

ChangeWatch::~ChangeWatch() {
    if (source_ != 0) g_source_remove(source_);
}

gboolean ChangeWatch::onReadable(gint, GIOCondition condition, gpointer self) {
    auto* watch = static_cast<ChangeWatch*>(self);
    if ((condition & G_IO_IN) && watch->readEvents()) {
        if (watch->listener_) watch->listener_();
        return G_SOURCE_CONTINUE;
    }
    watch->source_ = 0;
    return G_SOURCE_REMOVE;
}

// Every event that has arrived; false once the connection is gone.
bool ChangeWatch::readEvents() {
    do {
        const std::optional<IpcSocket::Message> event = socket_.receive();
        if (!event) return false;
        // Without output events, an output that comes or goes shows as its
        // workspaces move; a new mode of an output is not seen then.
        if (event->type == outputEvent || (!outputEvents_ && event->type == workspaceEvent))
            outputsChanged_ = true;
        // An output that comes or goes moves workspaces and windows too.
        treeChanged_ = true;
    } while (socket_.readable());
    return true;
}

}  // namespace platform::sway

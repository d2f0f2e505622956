#pragma once
// A connection to Sway's IPC socket. Every call ends within a second; a
// connection left in the middle of a message (a timeout, a lost socket) is
// closed, and the next request opens a new one.
#include <optional>
#include <string>
#include <string_view>

#include "platform/sway/ipc_framing.h"

namespace platform::sway {

class IpcSocket {
public:
    // Connected to the socket at that path; nullopt when it cannot be reached.
    static std::optional<IpcSocket> connect(const std::string& path);
    ~IpcSocket();
    IpcSocket(IpcSocket&& other) noexcept;
    IpcSocket& operator=(IpcSocket&&) = delete;
    IpcSocket(const IpcSocket&) = delete;

    // -1 while not connected.
    int fd() const { return fd_; }

    // The payload of the reply; nullopt on any failure.
    std::optional<std::string> request(MessageType type, std::string_view payload = {});

    struct Message {
        std::uint32_t type = 0;
        std::string payload;
    };
    // The next message, as soon as one has begun to arrive.
    std::optional<Message> receive();
    // True when a message has begun to arrive, without waiting.
    bool readable() const;

private:
    IpcSocket(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    bool sendAll(std::string_view bytes);
    bool receiveAll(char* into, std::size_t size);
    void close();

    std::string path_;
    int fd_ = -1;
};

}  // namespace platform::sway

#include "platform/sway/ipc_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform::sway {

namespace {

constexpr std::chrono::milliseconds callTimeout{1000};

using Clock = std::chrono::steady_clock;

int openSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    // A Unix socket connects at once or not at all.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Until the socket is ready for `events` or the deadline passes.
bool ready(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0) return false;
        pollfd watched{fd, events, 0};
        const int result = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (result > 0) return true;
        if (result == 0 || errno != EINTR) return false;
    }
}

}  // namespace

std::optional<IpcSocket> IpcSocket::connect(const std::string& path) {
    const int fd = openSocket(path);
    if (fd < 0) return std::nullopt;
    return IpcSocket(path, fd);
}

IpcSocket::~IpcSocket() { close(); }

IpcSocket::IpcSocket(IpcSocket&& other) noexcept : path_(std::move(other.path_)), fd_(other.fd_) {
    other.fd_ = -1;
}

void IpcSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::optional<std::string> IpcSocket::request(MessageType type, std::string_view payload) {
    if (fd_ < 0) fd_ = openSocket(path_);
    if (fd_ < 0 || !sendAll(framedMessage(type, payload))) return std::nullopt;
    std::optional<Message> reply = receive();
    if (!reply) return std::nullopt;
    // A connection that only asks gets only replies, in order.
    if (reply->type != static_cast<std::uint32_t>(type)) {
        close();
        return std::nullopt;
    }
    return std::move(reply->payload);
}

std::optional<IpcSocket::Message> IpcSocket::receive() {
    std::array<char, headerSize> header{};
    if (fd_ < 0 || !receiveAll(header.data(), header.size())) return std::nullopt;
    const std::optional<Header> parsed = parsedHeader(header);
    if (!parsed) {
        close();
        return std::nullopt;
    }
    Message message{parsed->type, std::string(parsed->payloadLength, '\0')};
    if (!receiveAll(message.payload.data(), message.payload.size())) return std::nullopt;
    return message;
}

bool IpcSocket::readable() const {
    pollfd watched{fd_, POLLIN, 0};
    return fd_ >= 0 && ::poll(&watched, 1, 0) > 0;
}

bool IpcSocket::sendAll(std::string_view bytes) {
    const auto deadline = Clock::now() + callTimeout;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (!(sent < 0 && (errno == EAGAIN || errno == EINTR) && ready(fd_, POLLOUT, deadline))) {
            close();
            return false;
        }
    }
    return true;
}

bool IpcSocket::receiveAll(char* into, std::size_t size) {
    const auto deadline = Clock::now() + callTimeout;
    while (size > 0) {
        const ssize_t got = ::recv(fd_, into, size, 0);
        if (got > 0) {
            into += got;
            size -= static_cast<std::size_t>(got);
        } else if (!(got < 0 && (errno == EAGAIN || errno == EINTR) && ready(fd_, POLLIN, deadline))) {
            // 0: Sway closed the connection.
            close();
            return false;
        }
    }
    return true;
}

}  // namespace platform::sway

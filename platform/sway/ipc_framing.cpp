#include "platform/sway/ipc_framing.h"

#include <cstring>

namespace platform::sway {

namespace {

constexpr std::string_view magic = "i3-ipc";

}  // namespace

std::string framedMessage(MessageType type, std::string_view payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    const auto number = static_cast<std::uint32_t>(type);
    std::string message(magic);
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&number), sizeof number);
    message.append(payload);
    return message;
}

std::optional<Header> parsedHeader(const std::array<char, headerSize>& bytes) {
    if (std::string_view(bytes.data(), magic.size()) != magic) return std::nullopt;
    Header header;
    std::memcpy(&header.payloadLength, bytes.data() + magic.size(), sizeof header.payloadLength);
    std::memcpy(&header.type, bytes.data() + magic.size() + 4, sizeof header.type);
    if (header.payloadLength > largestPayload) return std::nullopt;
    return header;
}

}  // namespace platform::sway

#pragma once
// The framing of Sway's IPC (the i3 protocol): the six bytes "i3-ipc", the
// payload's length and the message's type as 32-bit numbers in the host's
// byte order, then the payload, JSON text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::sway {

enum class MessageType : std::uint32_t {
    runCommand = 0,
    subscribe = 2,
    getOutputs = 3,
    getTree = 4,
    getConfig = 9,
};

// Events carry this bit in their type; the rest of it tells which event.
constexpr std::uint32_t eventBit = 0x80000000u;
constexpr std::uint32_t workspaceEvent = eventBit | 0, outputEvent = eventBit | 1, windowEvent = eventBit | 3;

constexpr std::size_t headerSize = 14;

// A reply bigger than this is taken as garbage rather than read: a tree of
// thousands of windows stays far below it.
constexpr std::uint32_t largestPayload = 64u << 20;

std::string framedMessage(MessageType type, std::string_view payload);

struct Header {
    std::uint32_t type = 0;
    std::uint32_t payloadLength = 0;
};

// nullopt when the bytes lack the magic or announce too long a payload.
std::optional<Header> parsedHeader(const std::array<char, headerSize>& bytes);

}  // namespace platform::sway

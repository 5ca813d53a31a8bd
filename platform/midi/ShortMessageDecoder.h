#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace platform::midi {

// The bytes of one channel or system message as they go on the wire.
struct ShortMessage {
    std::array<std::uint8_t, 3> bytes{};
    int length = 0;

    int status() const { return bytes[0]; }
    int channel() const { return bytes[0] & 0x0F; }
    int data1() const { return bytes[1]; }
    int data2() const { return bytes[2]; }
};

// Turns packed 32-bit short messages into wire bytes the way the classic
// short-message call does: the low byte is the status, followed by as many
// data bytes as the status takes.  A low byte that is not a status byte
// means running status (the last channel status sent through this decoder),
// and then the low byte is the first data byte.  Messages that cannot go on
// the wire (no status to run on, a data byte above 127, a system-exclusive
// byte) are refused, so a device never sees a stray status byte.
class ShortMessageDecoder {
public:
    std::optional<ShortMessage> decode(std::uint32_t packed);

private:
    int runningStatus_ = 0;
};

} // namespace platform::midi

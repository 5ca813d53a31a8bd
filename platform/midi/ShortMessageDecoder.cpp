#include "platform/midi/ShortMessageDecoder.h"

#include "platform/midi/MidiMessage.h"

namespace platform::midi {

std::optional<ShortMessage> ShortMessageDecoder::decode(std::uint32_t packed)
{
    const std::uint8_t b0 = packed & 0xFF;
    const std::uint8_t b1 = (packed >> 8) & 0xFF;
    const std::uint8_t b2 = (packed >> 16) & 0xFF;

    ShortMessage message;
    std::array<std::uint8_t, 2> data{};
    if (b0 >= 0x80) {
        if (b0 == 0xF0 || b0 == 0xF7) // system exclusive needs a long message
            return std::nullopt;
        message.bytes[0] = b0;
        data = {b1, b2};
    } else {
        if (runningStatus_ == 0)
            return std::nullopt;
        message.bytes[0] = static_cast<std::uint8_t>(runningStatus_);
        data = {b0, b1};
    }

    const int count = dataLength(message.bytes[0]);
    for (int i = 0; i < count; ++i) {
        if (data[i] > 0x7F)
            return std::nullopt;
        message.bytes[1 + i] = data[i];
    }
    message.length = 1 + count;

    // Channel messages set the running status, system common messages
    // cancel it, real-time messages (0xF8..0xFF) leave it alone.
    if (message.bytes[0] < 0xF0)
        runningStatus_ = message.bytes[0];
    else if (message.bytes[0] < 0xF8)
        runningStatus_ = 0;
    return message;
}

} // namespace platform::midi

#pragma once
#include <cstdint>

namespace platform::midi {

// A short message as one 32-bit value: status in bits 0..7, first data byte
// in bits 8..15, second in bits 16..23 (status + data1 * 256 + data2 * 65536).
constexpr std::uint32_t packShortMessage(int status, int data1, int data2 = 0)
{
    return static_cast<std::uint32_t>(status) + static_cast<std::uint32_t>(data1) * 256u +
           static_cast<std::uint32_t>(data2) * 65536u;
}

// Channel 10 of General MIDI, the drum kit (channels count from 0 on the wire).
constexpr int PercussionChannel = 9;

constexpr int statusOf(std::uint32_t packed) { return static_cast<int>(packed & 0xFF); }
constexpr int data1Of(std::uint32_t packed) { return static_cast<int>((packed >> 8) & 0xFF); }
constexpr int data2Of(std::uint32_t packed) { return static_cast<int>((packed >> 16) & 0xFF); }

// Number of data bytes that follow a status byte on the wire (program change
// and channel pressure carry one; system real-time none).  0 for a byte that
// is not a status byte.
int dataLength(int status);

} // namespace platform::midi

#pragma once
#include <cstdint>
#include <vector>

#include "platform/midi/MidiMessage.h"

// What an entry of the instrument list makes of the MIDI stream: the messages
// that choose it and the channel and key every note then goes out with.  The
// editor's device and the exporters share this one rule, so a file sounds as
// the editor does.
namespace notivo {

inline constexpr int FirstDrumEntry = 128;  // list entries from here on are drum keys
inline constexpr int DrumEntryToKey = 93;   // entry 128 is key 35
inline constexpr int PercussionChannel = platform::midi::PercussionChannel;
inline constexpr int PlayVelocity = 127;    // every note is struck at full strength

constexpr bool isDrumEntry(int entry) { return entry >= FirstDrumEntry; }
constexpr int drumKeyOf(int entry) { return entry - DrumEntryToKey; }

// The messages that choose program entry `entry` on `channel`: bank select 0
// (coarse, then fine) and the program change.  A drum entry sends nothing:
// its notes go to the drum channel instead.
std::vector<std::uint32_t> instrumentSelection(int entry, int channel);

struct NoteAddress {
    int channel;
    int key;
};

// Where a note of inverted pitch `v` (127 - key) goes: in drum mode the drum
// key on the drum channel whatever the pitch, otherwise key 127 - v on
// `channel`.  Keys are kept to the seven bits a data byte carries.
NoteAddress noteAddress(int v, int channel, bool drumMode, int drumKey);

std::uint32_t noteOnMessage(const NoteAddress& address, int velocity = PlayVelocity);
std::uint32_t noteOffMessage(const NoteAddress& address);

} // namespace notivo

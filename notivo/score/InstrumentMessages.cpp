#include "notivo/score/InstrumentMessages.h"

#include <algorithm>

#include "platform/midi/MidiMessage.h"

namespace notivo {
namespace {
constexpr int BankSelectCoarse = 0;
constexpr int BankSelectFine = 32;

// Data bytes carry seven bits; anything else would corrupt the message.
int dataByte(int value) { return std::clamp(value, 0, 127); }
} // namespace

std::vector<std::uint32_t> instrumentSelection(int entry, int channel)
{
    if (isDrumEntry(entry))
        return {};
    using platform::midi::packShortMessage;
    return {packShortMessage(0xB0 + channel, BankSelectCoarse, 0), packShortMessage(0xB0 + channel, BankSelectFine, 0),
            packShortMessage(0xC0 + channel, dataByte(entry))};
}

NoteAddress noteAddress(int v, int channel, bool drumMode, int drumKey)
{
    if (drumMode)
        return {PercussionChannel, dataByte(drumKey)};
    return {channel, dataByte(127 - v)};
}

std::uint32_t noteOnMessage(const NoteAddress& address, int velocity)
{
    return platform::midi::packShortMessage(0x90 + address.channel, address.key, dataByte(velocity));
}

std::uint32_t noteOffMessage(const NoteAddress& address)
{
    return platform::midi::packShortMessage(0x80 + address.channel, address.key, 0);
}

} // namespace notivo

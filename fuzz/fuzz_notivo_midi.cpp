// Standard MIDI File reader and the quantiser on arbitrary bytes: every event
// it keeps is a whole channel message, time never runs backwards on the tempo
// map, and the score holds what ImportChecks.h asks.
#include "ImportChecks.h"
#include "notivo/score/MidiImport.h"
#include "platform/midi/MidiFileReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const platform::midi::MidiFileReadResult file = platform::midi::readStandardMidiFile(bytes);
    if (file.ok != file.error.isEmpty())
        __builtin_trap();
    for (const platform::midi::MidiFileTrack& track : file.contents.tracks) {
        std::int64_t last = 0;
        for (const platform::midi::MidiFileEvent& e : track.events) {
            const std::uint32_t status = e.packed & 0xFF;
            if (status < 0x80 || status >= 0xF0 || (e.packed >> 8 & 0x80) || (e.packed >> 16 & 0x80) || e.tick < last)
                __builtin_trap();
            if (file.contents.tempo.quarters(e.tick) < file.contents.tempo.quarters(last) ||
                file.contents.tempo.microseconds(e.tick) < file.contents.tempo.microseconds(last))
                __builtin_trap();
            last = e.tick;
        }
        if (track.endTick < last)
            __builtin_trap();
    }
    auto score = fuzzchecks::untouchedScore();
    fuzzchecks::check(notivo::readMidiFile(bytes, *score), *score);
    return 0;
}

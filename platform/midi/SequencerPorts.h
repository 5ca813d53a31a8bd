#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/midi/MidiService.h"

namespace platform::midi {

// The ALSA sequencer's writable MIDI ports, reached through RtMidi.  Where
// the machine has no sequencer (containers, no sound modules loaded) the
// list is empty and nothing is printed.
class SequencerPorts {
public:
    virtual ~SequencerPorts() = default;
    static bool sequencerAvailable();

    // Full port names ("client:port c:p"), in the sequencer's order.
    virtual std::vector<std::string> list();
    // Opens the port with this full name; nullptr and a result code when it
    // is gone or refuses.
    virtual std::unique_ptr<MidiPort> open(const std::string& name, int& result);
};

} // namespace platform::midi

#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/midi/BuiltinSynth.h"
#include "platform/midi/MidiService.h"
#include "platform/midi/SequencerPorts.h"

namespace platform::midi {

// The machine's MIDI outputs: device 0 (and the mapper) is the built-in
// synthesiser, devices 1.. are the sequencer's writable ports.
class SystemMidiService : public MidiService {
public:
    static constexpr const char* kBuiltinName = "Built-in GM Synthesiser";
    static constexpr const char* kMapperName = "MIDI Mapper";
    static constexpr std::size_t kNameLength = 31;

    // An empty path lets the synthesiser search for its SoundFont; `ports`
    // replaces the sequencer (tests).
    explicit SystemMidiService(std::string soundFontPath = {}, std::unique_ptr<SequencerPorts> ports = nullptr);
    ~SystemMidiService() override;

    // Reads the port list again, as a device count query does.
    int deviceCount() override;
    std::string productName(int device) override;
    std::unique_ptr<MidiPort> open(int device, int& result) override;

    BuiltinSynth& builtinSynth() { return *synth_; }

    // A product name cut to the classic 31 characters, never inside a UTF-8
    // sequence.
    static std::string cutName(const std::string& name);

private:
    const std::vector<std::string>& ports();

    // Shared with the open ports, so a port that outlives the service (a
    // program's static handle at exit) still closes cleanly.
    std::shared_ptr<BuiltinSynth> synth_;
    std::unique_ptr<SequencerPorts> sequencer_;
    std::vector<std::string> portNames_;
    bool listed_ = false;
};

} // namespace platform::midi

#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace platform::midi {

// Result codes of open/close/send, as the programs test them: 0 is success.
enum MidiResult : int {
    MidiOk = 0,
    MidiError = 1,        // unspecified failure
    MidiBadDevice = 2,    // no such device number
    MidiNotOpen = 5,      // close or send without an open port
    MidiNoDriver = 6,     // the device exists but could not start (no SoundFont, no audio output)
};

constexpr int MidiMapper = -1; // the default device, always the built-in synthesiser

// One open output port.
class MidiPort {
public:
    virtual ~MidiPort() = default;
    virtual void sendShortMessage(std::uint32_t packed) = 0;
};

// The system's MIDI output service: a device list and a way to open a device.
// Devices 0..N-1 are the built-in synthesiser first, then the system's
// writable MIDI ports; -1 is the mapper (the built-in synthesiser).
class MidiService {
public:
    virtual ~MidiService() = default;
    virtual int deviceCount() = 0;
    // Product name of a device (-1 for the mapper), cut to 31 characters;
    // empty for a device number out of range.
    virtual std::string productName(int device) = 0;
    // Opens a device; on failure returns nullptr and sets `result` non-zero.
    virtual std::unique_ptr<MidiPort> open(int device, int& result) = 0;
};

// The process-wide service the programs use.  By default the system service;
// tests and benchmarks install a recorder.  The caller keeps ownership of an
// installed service; nullptr restores the system service.
MidiService& midiService();
void installMidiService(MidiService* service);

} // namespace platform::midi

#pragma once
#include <cstdint>
#include <memory>

#include "platform/midi/MidiService.h"

namespace platform::midi {

// The handle a program keeps for its one output device, with the calls of a
// classic MIDI-out API: open returns a result code, close without an open
// device fails, sends on a closed handle are dropped.  Devices come from the
// service it was given, or from the process-wide one as it is at each call.
class MidiOut {
public:
    MidiOut() = default;
    explicit MidiOut(MidiService* service) : service_(service) {}
    ~MidiOut();
    MidiOut(const MidiOut&) = delete;
    MidiOut& operator=(const MidiOut&) = delete;

    int open(int device);   // 0 = success; the previous port (if any) stays open on failure
    int close();            // 0 = success; non-zero when nothing was open
    int shortMsg(std::uint32_t packed); // 0 = sent; MidiNotOpen when closed
    bool isOpen() const { return port_ != nullptr; }
    int device() const { return device_; }

    MidiService& service() const { return service_ ? *service_ : midiService(); }

    static int deviceCount();
    static std::string productName(int device);

private:
    MidiService* service_ = nullptr;
    std::unique_ptr<MidiPort> port_;
    int device_ = MidiMapper;
};

} // namespace platform::midi

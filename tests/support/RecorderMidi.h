#pragma once
#include <chrono>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/midi/MidiService.h"

namespace platform::midi {

struct RecordedMessage {
    std::chrono::steady_clock::time_point time;
    std::uint32_t packed;
    int device;
};

// A MIDI service for tests, benchmarks and soak programs: `deviceCount`
// named devices that record every message with a steady-clock time stamp.
// Devices listed in `failing` refuse to open.
class RecorderMidiService : public MidiService {
public:
    explicit RecorderMidiService(int deviceCount = 1);

    int deviceCount() override;
    std::string productName(int device) override;
    std::unique_ptr<MidiPort> open(int device, int& result) override;

    void setFailingDevices(std::set<int> failing);
    std::vector<RecordedMessage> messages() const;
    std::vector<std::uint32_t> packedMessages() const;
    std::size_t messageCount() const;
    void clear();
    int openCount() const;  // ports currently open

private:
    friend class RecorderPort;
    void record(std::uint32_t packed, int device);
    void portClosed();

    mutable std::mutex mutex_;
    int deviceCount_;
    std::set<int> failing_;
    std::vector<RecordedMessage> messages_;
    int openPorts_ = 0;
};

} // namespace platform::midi

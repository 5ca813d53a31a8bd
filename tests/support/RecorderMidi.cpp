#include "tests/support/RecorderMidi.h"

namespace platform::midi {

class RecorderPort : public MidiPort {
public:
    RecorderPort(RecorderMidiService& owner, int device) : owner_(owner), device_(device) {}
    ~RecorderPort() override { owner_.portClosed(); }
    void sendShortMessage(std::uint32_t packed) override { owner_.record(packed, device_); }

private:
    RecorderMidiService& owner_;
    int device_;
};

RecorderMidiService::RecorderMidiService(int deviceCount) : deviceCount_(deviceCount) {}

int RecorderMidiService::deviceCount() { return deviceCount_; }

std::string RecorderMidiService::productName(int device)
{
    if (device == MidiMapper)
        return "Recorder Mapper";
    if (device < 0 || device >= deviceCount_)
        return {};
    return "Recorder " + std::to_string(device);
}

std::unique_ptr<MidiPort> RecorderMidiService::open(int device, int& result)
{
    std::lock_guard lock(mutex_);
    if (device < MidiMapper || device >= deviceCount_) {
        result = MidiBadDevice;
        return nullptr;
    }
    if (failing_.count(device)) {
        result = MidiNoDriver;
        return nullptr;
    }
    result = MidiOk;
    ++openPorts_;
    return std::make_unique<RecorderPort>(*this, device);
}

void RecorderMidiService::setFailingDevices(std::set<int> failing)
{
    std::lock_guard lock(mutex_);
    failing_ = std::move(failing);
}

std::vector<RecordedMessage> RecorderMidiService::messages() const
{
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<std::uint32_t> RecorderMidiService::packedMessages() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::uint32_t> packed;
    packed.reserve(messages_.size());
    for (const auto& m : messages_)
        packed.push_back(m.packed);
    return packed;
}

std::size_t RecorderMidiService::messageCount() const
{
    std::lock_guard lock(mutex_);
    return messages_.size();
}

void RecorderMidiService::clear()
{
    std::lock_guard lock(mutex_);
    messages_.clear();
}

int RecorderMidiService::openCount() const
{
    std::lock_guard lock(mutex_);
    return openPorts_;
}

void RecorderMidiService::record(std::uint32_t packed, int device)
{
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    messages_.push_back({now, packed, device});
}

void RecorderMidiService::portClosed()
{
    std::lock_guard lock(mutex_);
    --openPorts_;
}

} // namespace platform::midi

#include "platform/midi/LoggedMidiService.h"

#include <chrono>

#include "platform/midi/SteadyTime.h"

namespace platform::midi {

class LoggedPort : public MidiPort {
public:
    LoggedPort(LoggedMidiService& owner, std::unique_ptr<MidiPort> inner, int device)
        : owner_(owner), inner_(std::move(inner)), device_(device)
    {
    }
    void sendShortMessage(std::uint32_t packed) override
    {
        owner_.write(packed, device_);
        inner_->sendShortMessage(packed);
    }

private:
    LoggedMidiService& owner_;
    std::unique_ptr<MidiPort> inner_;
    int device_;
};

LoggedMidiService::LoggedMidiService(MidiService& inner, const QString& logPath) : inner_(inner), log_(logPath)
{
    // Unbuffered: the log is whole whenever the program ends.
    log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

std::unique_ptr<MidiPort> LoggedMidiService::open(int device, int& result)
{
    auto port = inner_.open(device, result);
    if (!port)
        return nullptr;
    return std::make_unique<LoggedPort>(*this, std::move(port), device);
}

void LoggedMidiService::write(std::uint32_t packed, int device)
{
    log_.write(QByteArray::number(qint64(steadyMicros(std::chrono::steady_clock::now()))) + ' ' + QByteArray::number(packed, 16) + ' ' +
               QByteArray::number(device) + '\n');
}

} // namespace platform::midi

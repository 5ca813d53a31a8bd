#include "platform/midi/SequencerPorts.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <cstdint>

#include "platform/midi/ShortMessageDecoder.h"

namespace platform::midi {

namespace {

// RtMidi prints its errors unless a callback takes them; a failing send is
// silent, as the programs expect.
void ignoreError(RtMidiError::Type, const std::string&, void*) {}

std::unique_ptr<RtMidiOut> newClient()
{
    if (!SequencerPorts::sequencerAvailable())
        return nullptr;
    try {
        auto client = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, "MIDI Out");
        client->setErrorCallback(ignoreError, nullptr);
        return client;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

class SequencerPort : public MidiPort {
public:
    explicit SequencerPort(std::unique_ptr<RtMidiOut> client) : client_(std::move(client)) {}

    ~SequencerPort() override
    {
        // Leave no note hanging on the device: all sound off and all notes
        // off on every channel this port used.
        for (int ch = 0; ch < 16; ++ch) {
            if (!(usedChannels_ & (1u << ch)))
                continue;
            const auto status = static_cast<unsigned char>(0xB0 + ch);
            const unsigned char soundOff[] = {status, 120, 0};
            const unsigned char notesOff[] = {status, 123, 0};
            client_->sendMessage(soundOff, 3);
            client_->sendMessage(notesOff, 3);
        }
        client_->closePort();
    }

    void sendShortMessage(std::uint32_t packed) override
    {
        const auto message = decoder_.decode(packed);
        if (!message)
            return;
        if (message->status() < 0xF0)
            usedChannels_ |= 1u << message->channel();
        client_->sendMessage(message->bytes.data(), static_cast<size_t>(message->length));
    }

private:
    std::unique_ptr<RtMidiOut> client_;
    ShortMessageDecoder decoder_;
    std::uint16_t usedChannels_ = 0;
};

} // namespace

bool SequencerPorts::sequencerAvailable() { return ::access("/dev/snd/seq", R_OK | W_OK) == 0; }

std::vector<std::string> SequencerPorts::list()
{
    std::vector<std::string> names;
    auto client = newClient();
    if (!client)
        return names;
    const unsigned count = client->getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names.push_back(client->getPortName(i));
    return names;
}

std::unique_ptr<MidiPort> SequencerPorts::open(const std::string& name, int& result)
{
    auto client = newClient();
    if (!client) {
        result = MidiNoDriver;
        return nullptr;
    }
    const unsigned count = client->getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (client->getPortName(i) != name)
            continue;
        client->openPort(i, "MIDI Out");
        if (!client->isPortOpen()) {
            result = MidiError;
            return nullptr;
        }
        result = MidiOk;
        return std::make_unique<SequencerPort>(std::move(client));
    }
    result = MidiBadDevice; // unplugged since the list was read
    return nullptr;
}

} // namespace platform::midi

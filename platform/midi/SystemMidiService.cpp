#include "platform/midi/SystemMidiService.h"

#include <algorithm>

namespace platform::midi {

namespace {

class BuiltinSynthPort : public MidiPort {
public:
    explicit BuiltinSynthPort(std::shared_ptr<BuiltinSynth> synth) : synth_(std::move(synth)) {}
    ~BuiltinSynthPort() override { synth_->close(); }

    void sendShortMessage(std::uint32_t packed) override
    {
        if (const auto message = decoder_.decode(packed))
            synth_->play(*message);
    }

private:
    std::shared_ptr<BuiltinSynth> synth_;
    ShortMessageDecoder decoder_;
};

} // namespace

SystemMidiService::SystemMidiService(std::string soundFontPath, std::unique_ptr<SequencerPorts> ports)
    : synth_(std::make_shared<BuiltinSynth>(std::move(soundFontPath))),
      sequencer_(ports ? std::move(ports) : std::make_unique<SequencerPorts>())
{
}

SystemMidiService::~SystemMidiService() = default;

std::string SystemMidiService::cutName(const std::string& name)
{
    std::size_t length = std::min(name.size(), kNameLength);
    while (length > 0 && length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        --length;
    return name.substr(0, length);
}

const std::vector<std::string>& SystemMidiService::ports()
{
    if (!listed_) {
        portNames_ = sequencer_->list();
        listed_ = true;
    }
    return portNames_;
}

int SystemMidiService::deviceCount()
{
    listed_ = false;
    return 1 + static_cast<int>(ports().size());
}

std::string SystemMidiService::productName(int device)
{
    if (device == MidiMapper)
        return cutName(kMapperName);
    if (device == 0)
        return cutName(kBuiltinName);
    if (device < 0 || device > static_cast<int>(ports().size()))
        return {};
    return cutName(ports()[device - 1]);
}

std::unique_ptr<MidiPort> SystemMidiService::open(int device, int& result)
{
    if (device == MidiMapper || device == 0) {
        result = synth_->open();
        if (result != MidiOk)
            return nullptr;
        return std::make_unique<BuiltinSynthPort>(synth_);
    }
    if (device < 0 || device > static_cast<int>(ports().size())) {
        result = MidiBadDevice;
        return nullptr;
    }
    return sequencer_->open(ports()[device - 1], result);
}

namespace {
MidiService*& installedService()
{
    static MidiService* service = nullptr;
    return service;
}
} // namespace

MidiService& midiService()
{
    if (MidiService* installed = installedService())
        return *installed;
    static SystemMidiService system;
    return system;
}

void installMidiService(MidiService* service) { installedService() = service; }

} // namespace platform::midi

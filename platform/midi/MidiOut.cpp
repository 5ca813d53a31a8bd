#include "platform/midi/MidiOut.h"

namespace platform::midi {

MidiOut::~MidiOut() = default;

int MidiOut::open(int device)
{
    int result = MidiError;
    auto port = service().open(device, result);
    if (!port)
        return result == MidiOk ? MidiError : result;
    port_ = std::move(port);
    device_ = device;
    return MidiOk;
}

int MidiOut::close()
{
    if (!port_)
        return MidiNotOpen;
    port_.reset();
    return MidiOk;
}

int MidiOut::shortMsg(std::uint32_t packed)
{
    if (!port_)
        return MidiNotOpen;
    port_->sendShortMessage(packed);
    return MidiOk;
}

int MidiOut::deviceCount() { return midiService().deviceCount(); }

std::string MidiOut::productName(int device) { return midiService().productName(device); }

} // namespace platform::midi

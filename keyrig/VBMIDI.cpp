#include "keyrig/VBMIDI.h"

#include "platform/midi/MidiMessage.h"

namespace {

bool isData(int value) { return value >= 0 && value <= 127; }
bool isChannel(int channel) { return channel >= 0 && channel <= 15; }

} // namespace

VBMIDI::~VBMIDI()
{
    endSoundingNotes();
    PortHandle.close();
}

int VBMIDI::send(int status, int data1, int data2)
{
    const std::uint32_t packed = platform::midi::packShortMessage(status, data1, data2);
    if (onSent)
        onSent(packed);
    return PortHandle.shortMsg(packed);
}

void VBMIDI::fail(const char* message)
{
    if (onFailure)
        onFailure(QString::fromLatin1(message));
}

void VBMIDI::OpenMidiOut()
{
    if (exited_)
        return;
    // Opening over an open port replaces it: what sounds there ends first.
    if (PortHandle.isOpen())
        endSoundingNotes();
    PortResult_ = PortHandle.open(PortDevice_);
    if (PortResult_ != 0)
        fail(OpenFailed);
}

void VBMIDI::CloseMidiOut()
{
    if (exited_)
        return; // closed at the exit already
    endSoundingNotes();
    PortResult_ = PortHandle.close();
    if (PortResult_ != 0)
        fail(CloseFailed);
}

void VBMIDI::CloseForExit()
{
    CloseMidiOut();
    exited_ = true;
}

void VBMIDI::endSoundingNotes()
{
    for (const auto& [channel, key] : sounding_)
        send(0x80 + channel, key, 0);
    sounding_.clear();
}

void VBMIDI::SendNoteOn(int channel, int key, int velocity, Ends ends)
{
    if (!isChannel(channel) || !isData(key) || !isData(velocity))
        return;
    PortResult_ = send(0x90 + channel, key, velocity);
    if (PortResult_ == 0 && ends == Ends::WithNoteOff)
        sounding_.insert({channel, key});
}

void VBMIDI::SendNoteOff(int channel, int key)
{
    if (!isChannel(channel) || !isData(key))
        return;
    send(0x80 + channel, key, 0);
    if (const auto it = sounding_.find({channel, key}); it != sounding_.end())
        sounding_.erase(it);
}

void VBMIDI::SendProgram(int channel, int program)
{
    if (!isChannel(channel) || !isData(program))
        return;
    send(0xB0 + channel, 0x00, 0x00);
    send(0xB0 + channel, 0x20, 0x00);
    send(0xC0 + channel, program, 0);
}

#include "notivo/editor/EditorMidi.h"

#include <algorithm>

#include "notivo/score/InstrumentMessages.h"
#include "platform/midi/MidiMessage.h"

namespace notivo {
namespace {
constexpr int AllNotesOff = 123; // channel mode message
} // namespace

NoteHolder newNoteHolder()
{
    static NoteHolder last = EveryHolder;
    return ++last;
}

EditorMidi::DeviceNames EditorMidi::deviceNames() const
{
    platform::midi::MidiService& service = MidiHandle.service();
    DeviceNames names;
    names.mapper = service.productName(platform::midi::MidiMapper);
    const int count = service.deviceCount();
    for (int i = 0; i < count; ++i)
        names.devices.push_back(service.productName(i));
    return names;
}

bool EditorMidi::openFirstDevice()
{
    const int count = MidiHandle.service().deviceCount();
    bool opened = false;
    for (MidiDevice = platform::midi::MidiMapper; MidiDevice < count; ++MidiDevice) {
        MidiResult = MidiHandle.open(MidiDevice);
        if (MidiResult == platform::midi::MidiOk) {
            opened = true;
            break;
        }
    }
    MidiChannel = 0;
    NoteVelocity = PlayVelocity;
    return opened;
}

int EditorMidi::switchDevice(int device)
{
    // Later note-offs go to the new device: what the old one sounds stops now.
    releaseSounding();
    MidiResult = MidiHandle.open(device);
    if (MidiResult == platform::midi::MidiOk)
        MidiDevice = device;
    return MidiResult;
}

int EditorMidi::channelIndex() const { return std::clamp<int>(MidiChannel, 0, Channels - 1); }

NoteAddress EditorMidi::addressOf(int v) const
{
    const int ch = channelIndex();
    return noteAddress(v, ch, DrumMode[ch], DrumNote[ch]);
}

void EditorMidi::NoteOn(int v, NoteHolder holder)
{
    const NoteAddress address = addressOf(v);
    const int channel = address.channel;
    const int key = address.key;
    MidiHandle.shortMsg(noteOnMessage(address, NoteVelocity));
    const bool known = std::any_of(sounding_.begin(), sounding_.end(), [&](const Sounding& s) {
        return s.v == v && s.channel == channel && s.key == key && s.holder == holder;
    });
    if (!known)
        sounding_.push_back({v, channel, key, holder});
}

bool EditorMidi::heldByAnother(int channel, int key, NoteHolder holder) const
{
    return std::any_of(sounding_.begin(), sounding_.end(), [&](const Sounding& s) {
        return s.channel == channel && s.key == key && s.holder != holder;
    });
}

void EditorMidi::NoteOff(int v, NoteHolder holder)
{
    std::vector<std::pair<int, int>> released; // channel and key
    for (auto it = sounding_.begin(); it != sounding_.end();) {
        if (it->v != v || (holder != EveryHolder && it->holder != holder)) {
            ++it;
            continue;
        }
        if (std::find(released.begin(), released.end(), std::pair{it->channel, it->key}) == released.end())
            released.emplace_back(it->channel, it->key);
        it = sounding_.erase(it);
    }
    if (released.empty()) { // nothing of this pitch sounds for it: the release goes out as the instrument now says
        const NoteAddress now = addressOf(v);
        released.emplace_back(now.channel, now.key);
    }
    for (const auto& [channel, key] : released)
        if (holder == EveryHolder || !heldByAnother(channel, key, holder))
            MidiHandle.shortMsg(noteOffMessage({channel, key}));
}

void EditorMidi::releaseSounding()
{
    for (const Sounding& s : sounding_)
        MidiHandle.shortMsg(noteOffMessage({s.channel, s.key}));
    sounding_.clear();
}

void EditorMidi::SetInstrument(int p)
{
    const int ch = channelIndex();
    if (isDrumEntry(p)) {
        DrumMode[ch] = true;
        DrumNote[ch] = static_cast<std::int16_t>(drumKeyOf(p));
        return;
    }
    for (std::uint32_t message : instrumentSelection(p, ch))
        MidiHandle.shortMsg(message);
    DrumMode[ch] = false;
}

void EditorMidi::close()
{
    // A note whose note-off was still waiting must not go on sounding on a
    // device that outlives the program.
    if (MidiHandle.isOpen()) {
        MidiHandle.shortMsg(platform::midi::packShortMessage(0xB0 + channelIndex(), AllNotesOff, 0));
        MidiHandle.shortMsg(platform::midi::packShortMessage(0xB0 + PercussionChannel, AllNotesOff, 0));
    }
    MidiResult = MidiHandle.close();
}

} // namespace notivo

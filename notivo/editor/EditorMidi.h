#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "notivo/score/InstrumentMessages.h"
#include "platform/midi/MidiOut.h"

namespace notivo {

// Who holds a sounding note: each timeline of sound (a run, the steps, one
// preview) is a holder of its own, so that its note-off ends only its own
// note while another timeline sounds the same key.
using NoteHolder = int;
inline constexpr NoteHolder EveryHolder = 0; // a release for everyone (exit)
NoteHolder newNoteHolder();

// The editor's one MIDI output device and the messages it sends: note on/off
// of inverted pitch values (127 - key), program or drum-key selection, and
// the choice of device.  Knows nothing of windows; the editor shows the menu.
class EditorMidi {
public:
    static constexpr int Channels = 8;
    static constexpr int PreviewPitch = 67; // middle C as an inverted pitch value

    // Devices come from `service`; none: the process-wide service.
    explicit EditorMidi(platform::midi::MidiService* service = nullptr) : MidiHandle(service) {}

    platform::midi::MidiOut MidiHandle;
    int MidiDevice = platform::midi::MidiMapper; // -1 mapper, 0..N-1 devices
    int MidiResult = 0;                          // result of the last open or close
    std::int16_t MidiChannel = 0;
    std::int16_t NoteVelocity = PlayVelocity;
    std::array<bool, Channels> DrumMode{};
    std::array<std::int16_t, Channels> DrumNote{};

    // Product names: the mapper first, then devices 0..N-1.
    struct DeviceNames {
        std::string mapper;
        std::vector<std::string> devices;
    };
    DeviceNames deviceNames() const;

    // Opens the first device that opens, the mapper first, then 0, 1, ...;
    // false when none does.  Sets the channel and velocity of every note.
    bool openFirstDevice();

    // Switches to `device`.  The device in use stays open until the new one
    // has opened, so a device that fails to open leaves the old one working;
    // returns the result of the open (0 = success).
    int switchDevice(int device);

    void NoteOn(int v, NoteHolder holder);
    // Ends `holder`'s note of `v`; the key goes silent only when no other
    // holder sounds it.  A value the holder does not sound is released as
    // the instrument now says, unless another holder sounds that key.
    void NoteOff(int v, NoteHolder holder);
    // List entries 0..127 select a program (bank 0); 128..174 the drum keys 35..81.
    void SetInstrument(int p);

    // Silences both channels the editor uses, then closes the device.
    void close();

private:
    NoteAddress addressOf(int v) const;
    int channelIndex() const;
    void releaseSounding();
    bool heldByAnother(int channel, int key, NoteHolder holder) const;

    // Where each sounding note went: its note-off must reach the channel and
    // key of its note-on even when the instrument changed in between.
    struct Sounding {
        int v, channel, key;
        NoteHolder holder;
    };
    std::vector<Sounding> sounding_;
};

} // namespace notivo

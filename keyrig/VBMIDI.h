#pragma once
#include <QString>

#include <cstdint>
#include <functional>
#include <set>
#include <utility>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiOut.h"

// The program's one MIDI output port and every message keyrig sends.
// Channels are 0..15 as on the wire: 0 is the keyboard, 9 the percussion.
//
// It keeps the notes that keys and pads have sounding on the open device, so
// that whatever closes the port (a device or base-key change, the exit) ends
// them there first: a note left on an outside synthesiser sounds until it
// is switched off.
class VBMIDI {
public:
    static constexpr int KeyboardChannel = 0;
    static constexpr int PercussionChannel = platform::midi::PercussionChannel;
    static constexpr const char* OpenFailed = "Open MIDI Out failed";
    static constexpr const char* CloseFailed = "Close MIDI Out failed";

    // How a note ends: by its note-off, or by itself (a beat's percussion
    // hit, which is never switched off).
    enum class Ends { WithNoteOff, ByItself };

    VBMIDI() = default;
    ~VBMIDI(); // ends what sounds and closes the port, quietly
    VBMIDI(const VBMIDI&) = delete;
    VBMIDI& operator=(const VBMIDI&) = delete;

    // Hears every message sent, whether the port takes it or not.
    std::function<void(std::uint32_t packed)> onSent;
    // Told when an open or close failed, with the text to show.
    std::function<void(const QString& message)> onFailure;

    int PortDevice() const { return PortDevice_; } // device opened by OpenMidiOut, saved in config.dat
    void setPortDevice(int device) { PortDevice_ = device; }
    int PortResult() const { return PortResult_; } // result of the last open, close or note-on
    bool isOpen() const { return PortHandle.isOpen(); }
    // Notes that keys and pads have sounding on the open device.
    std::size_t soundingNotes() const { return sounding_.size(); }

    void OpenMidiOut();
    void CloseMidiOut();
    // CloseMidiOut for the window's exit: nothing opens the port again (a
    // menu choice or key reaching a closing window is too late for it).
    void CloseForExit();

    // Messages whose key, velocity or program lies outside 0..127 are not
    // sent: they would corrupt the status byte of the packed message.
    void SendNoteOn(int channel, int key, int velocity, Ends ends = Ends::WithNoteOff);
    void SendNoteOff(int channel, int key);
    void SendProgram(int channel, int program);

private:
    int send(int status, int data1, int data2);
    // Note-offs on the open device for everything still sounding there.
    void endSoundingNotes();
    void fail(const char* message);

    platform::midi::MidiOut PortHandle;
    int PortDevice_ = 0;
    int PortResult_ = 0;
    bool exited_ = false;
    std::multiset<std::pair<int, int>> sounding_; // channel, key
};

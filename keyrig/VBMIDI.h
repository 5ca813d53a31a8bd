#pragma once
#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiOut.h"

class PerformanceRecorder;
class QWidget;

// The program's one MIDI output port and every message keyrig sends.
// Channels are 0..15 as on the wire: 0 is the keyboard, 9 the percussion.
namespace VBMIDI {

constexpr int KeyboardChannel = 0;
constexpr int PercussionChannel = platform::midi::PercussionChannel;

platform::midi::MidiOut& PortHandle();
int& PortDevice();  // device opened by OpenMidiOut, saved in config.dat
int& PortResult();  // result of the last open, close or note-on
// Hears every message sent (while set), whether the port takes it or not.
PerformanceRecorder*& Recorder();

// Failures are shown as "Open MIDI Out failed" / "Close MIDI Out failed".
void OpenMidiOut(QWidget* parent = nullptr);
void CloseMidiOut(QWidget* parent = nullptr);

// Messages whose key, velocity or program lies outside 0..127 are not sent:
// they would corrupt the status byte of the packed message.
void SendNoteOn(int channel, int key, int velocity);
void SendNoteOff(int channel, int key);
void SendProgram(int channel, int program);

} // namespace VBMIDI

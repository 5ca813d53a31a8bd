#include "keyrig/VBMIDI.h"

#include <QString>

#include "keyrig/PerformanceRecorder.h"
#include "platform/chrome/MessageBox.h"
#include "platform/midi/MidiMessage.h"

namespace VBMIDI {
namespace {

bool isData(int value) { return value >= 0 && value <= 127; }
bool isChannel(int channel) { return channel >= 0 && channel <= 15; }

int send(int status, int data1, int data2)
{
    const std::uint32_t packed = platform::midi::packShortMessage(status, data1, data2);
    if (PerformanceRecorder* recorder = Recorder())
        recorder->take(packed);
    return PortHandle().shortMsg(packed);
}

} // namespace

platform::midi::MidiOut& PortHandle()
{
    static platform::midi::MidiOut handle;
    return handle;
}

int& PortDevice()
{
    static int device = 0;
    return device;
}

PerformanceRecorder*& Recorder()
{
    static PerformanceRecorder* recorder = nullptr;
    return recorder;
}

int& PortResult()
{
    static int result = 0;
    return result;
}

void OpenMidiOut(QWidget* parent)
{
    PortResult() = PortHandle().open(PortDevice());
    if (PortResult() != 0)
        platform::showMessage(parent, QStringLiteral("Open MIDI Out failed"));
}

void CloseMidiOut(QWidget* parent)
{
    PortResult() = PortHandle().close();
    if (PortResult() != 0)
        platform::showMessage(parent, QStringLiteral("Close MIDI Out failed"));
}

void SendNoteOn(int channel, int key, int velocity)
{
    if (!isChannel(channel) || !isData(key) || !isData(velocity))
        return;
    PortResult() = send(0x90 + channel, key, velocity);
}

void SendNoteOff(int channel, int key)
{
    if (!isChannel(channel) || !isData(key))
        return;
    send(0x80 + channel, key, 0);
}

void SendProgram(int channel, int program)
{
    if (!isChannel(channel) || !isData(program))
        return;
    send(0xB0 + channel, 0x00, 0x00);
    send(0xB0 + channel, 0x20, 0x00);
    send(0xC0 + channel, program, 0);
}

} // namespace VBMIDI

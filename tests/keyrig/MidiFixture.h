#pragma once
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "keyrig/VBMIDI.h"
#include "platform/chrome/MessageBox.h"
#include "platform/midi/MidiMessage.h"
#include "tests/support/RecorderMidi.h"

// Puts a recorder in place of the system's MIDI service and collects the
// texts of message boxes instead of showing them.
class MidiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        messages().clear();
        platform::setMessageSink([](const QString& text) { messages().append(text); });
        platform::midi::installMidiService(&recorder);
        midi.onFailure = [](const QString& text) { platform::showMessage(nullptr, text); };
        midi.OpenMidiOut();
        recorder.clear();
    }

    void TearDown() override
    {
        if (midi.isOpen())
            midi.CloseMidiOut();
        platform::midi::installMidiService(nullptr);
        platform::setMessageSink(nullptr);
    }

    static QStringList& messages()
    {
        static QStringList shown;
        return shown;
    }

    std::vector<std::uint32_t> sent() const { return recorder.packedMessages(); }

    static std::uint32_t on(int channel, int key, int velocity)
    {
        return platform::midi::packShortMessage(0x90 + channel, key, velocity);
    }
    static std::uint32_t off(int channel, int key) { return platform::midi::packShortMessage(0x80 + channel, key, 0); }

    platform::midi::RecorderMidiService recorder{3};
    VBMIDI midi; // device 0
};

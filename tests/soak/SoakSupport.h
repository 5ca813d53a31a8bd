#pragma once
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/midi/RecorderMidi.h"

namespace soak {

// Run length and seed come from the environment so that a failing run can be
// repeated exactly: SOAK_SECONDS (default 40) and SOAK_SEED (default: random).
inline std::chrono::seconds duration()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("SOAK_SECONDS", &ok);
    return std::chrono::seconds(ok && seconds > 0 ? seconds : 40);
}

inline std::uint32_t seed(const char* name)
{
    bool ok = false;
    const QByteArray text = qgetenv("SOAK_SEED");
    std::uint32_t value = text.toUInt(&ok);
    if (!ok)
        value = std::random_device{}();
    std::printf("%s: seed %u (repeat with SOAK_SEED=%u)\n", name, value, value);
    std::fflush(stdout);
    return value;
}

// One note message as the recorder saw it.
struct Note {
    int device;
    int channel;
    int key;
    int velocity;
    bool on; // status 0x9n; 0x8n is off
};

inline std::vector<Note> notes(const platform::midi::RecorderMidiService& recorder)
{
    std::vector<Note> out;
    for (const auto& m : recorder.messages()) {
        const int status = m.packed & 0xFF;
        const int kind = status & 0xF0;
        if (kind != 0x80 && kind != 0x90)
            continue;
        out.push_back(Note{m.device, status & 0x0F, int(m.packed >> 8) & 0x7F, int(m.packed >> 16) & 0x7F,
                           kind == 0x90});
    }
    return out;
}

// How note-offs pair with note-ons.
enum class Pairing {
    // Each note-on needs a note-off of its own, and a note-off never comes
    // without a note-on sounding (the keyboard sends exactly one of each).
    EveryOnItsOwnOff,
    // A note-off silences its key however often it was struck (a re-strike of
    // a sounding key needs no note-off first); a note-off of a silent key is
    // harmless.
    OffReleasesTheKey,
};

// Walks the note messages keeping the sounding notes per device, channel and
// key.  Returns the problems found: empty when every note-on has been matched
// by a note-off at the end.  `counts` leaves out messages that are not paired.
inline std::vector<std::string> unmatchedNotes(const std::vector<Note>& messages, Pairing pairing,
                                               const std::function<bool(const Note&)>& counts = {})
{
    // Per device, channel and key: the positions of the note-ons still sounding.
    std::map<std::tuple<int, int, int>, std::vector<std::size_t>> sounding;
    std::vector<std::string> problems;
    auto where = [](const Note& n) {
        return "device " + std::to_string(n.device) + " channel " + std::to_string(n.channel) + " key " +
               std::to_string(n.key);
    };
    for (std::size_t index = 0; index < messages.size(); ++index) {
        const Note& n = messages[index];
        if (counts && !counts(n))
            continue;
        std::vector<std::size_t>& on = sounding[{n.device, n.channel, n.key}];
        if (n.on)
            on.push_back(index);
        else if (pairing == Pairing::OffReleasesTheKey)
            on.clear();
        else if (!on.empty())
            on.pop_back();
        else if (problems.size() < 20)
            problems.push_back("note message " + std::to_string(index) + ": note-off of " + where(n) +
                               " without a sounding note-on");
    }
    for (const auto& [key, on] : sounding) {
        if (!on.empty())
            problems.push_back("left sounding: " + where(messages[on.front()]) + " (" + std::to_string(on.size()) +
                               " note-on without note-off, the first at note message " +
                               std::to_string(on.front()) + " of " + std::to_string(messages.size()) + ")");
    }
    return problems;
}

} // namespace soak

// Plays a note through the built-in synthesiser the way the programs do
// (the mapper device, packed short messages), for the end-to-end check that
// sound reaches the audio output.
//   bench_synth_probe [seconds]     length of the note, default 1.5
#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiOut.h"
#include "platform/midi/SynthEngine.h"
#include "platform/midi/SystemMidiService.h"

using namespace platform::midi;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.5;
    if (!(seconds > 0 && seconds < 60)) {
        std::fprintf(stderr, "usage: %s [seconds]\n", argv[0]);
        return 2;
    }

    MidiOut out;
    const auto start = Clock::now();
    const int result = out.open(MidiMapper);
    if (result != MidiOk) {
        std::fprintf(stderr, "synth_probe: the built-in synthesiser did not open (code %d): %s\n", result,
                     SynthEngine::lastError().c_str());
        return 1;
    }
    const double openMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    // Sent at once, while the SoundFont may still be loading: they must sound.
    out.shortMsg(packShortMessage(0xB0, 0, 0));
    out.shortMsg(packShortMessage(0xB0, 32, 0));
    out.shortMsg(packShortMessage(0xC0, 0));
    out.shortMsg(packShortMessage(0x90, 60, 127));
    out.shortMsg(packShortMessage(0x90, 64, 127));
    out.shortMsg(packShortMessage(0x90, 67, 127));

    if (auto* system = dynamic_cast<SystemMidiService*>(&midiService())) {
        BuiltinSynth& synth = system->builtinSynth();
        const bool ready = synth.waitUntilReady(Clock::now() + std::chrono::seconds(30));
        const double readyMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::printf("synth_probe.soundfont: %s\n", synth.soundFontPath().c_str());
        std::printf("synth_probe.open_ms: %.1f ms\n", openMs);
        if (ready)
            std::printf("synth_probe.font_ready_ms: %.1f ms\n", readyMs);
        else
            std::fprintf(stderr, "synth_probe: the SoundFont did not load: %s\n", SynthEngine::lastError().c_str());
    }
    std::fflush(stdout);

    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    // The server reports the stream's latency while it plays.
    if (auto* system = dynamic_cast<SystemMidiService*>(&midiService()))
        std::printf("synth_probe.output_latency_ms: %.2f ms\n", system->builtinSynth().outputLatencyMs());
    for (int key : {60, 64, 67})
        out.shortMsg(packShortMessage(0x80, key, 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let the release ring out
    return out.close() == MidiOk ? 0 : 1;
}

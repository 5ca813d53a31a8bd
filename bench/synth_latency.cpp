// Latency figures of the built-in synthesiser (the stream's own latency and
// key-to-sound are measured in the running programs, scripts/bench.d):
//   synth.open_ms         time the open call holds its caller
//   synth.font_ready_ms   open to SoundFont loaded (on the device's thread)
//   synth.first_sound_ms  note-on to the first sample above -60 dBFS in an
//                         offline render, median of repeats
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/midi/BuiltinSynth.h"
#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiService.h"
#include "platform/midi/SoundFontSearch.h"
#include "platform/midi/SynthEngine.h"

using namespace platform::midi;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void measureDevice()
{
    BuiltinSynth synth;
    const auto start = Clock::now();
    const int result = synth.open();
    const double openMs = msSince(start);
    if (result != MidiOk) {
        std::fprintf(stderr, "synth_latency: the built-in synthesiser did not open (%s)\n",
                     SynthEngine::lastError().c_str());
        return;
    }
    std::printf("synth.open_ms: %.1f ms\n", openMs);
    if (synth.waitUntilReady(Clock::now() + std::chrono::seconds(30)))
        std::printf("synth.font_ready_ms: %.1f ms\n", msSince(start));
    synth.close();
}

void measureFirstSound()
{
    const std::string font = findGmSoundFont();
    SynthEngine engine;
    if (font.empty() || !engine.loadSoundFont(font)) {
        std::fprintf(stderr, "synth_latency: no SoundFont, no offline figure\n");
        return;
    }
    const int rate = engine.sampleRate();
    constexpr int kBlock = 64;
    constexpr float kThreshold = 0.001f; // -60 dBFS
    std::vector<float> block(2 * kBlock);
    std::vector<double> delays;
    engine.send(packShortMessage(0xC0, 0));
    for (int repeat = 0; repeat < 15; ++repeat) {
        engine.allSoundOff();
        for (int i = 0; i < 20; ++i)
            engine.render(block.data(), kBlock);
        engine.send(packShortMessage(0x90, 60, 127));
        long frame = 0;
        long onset = -1;
        while (onset < 0 && frame < rate) { // give up after a second
            engine.render(block.data(), kBlock);
            for (int i = 0; i < kBlock && onset < 0; ++i)
                if (std::fabs(block[2 * i]) > kThreshold || std::fabs(block[2 * i + 1]) > kThreshold)
                    onset = frame + i;
            frame += kBlock;
        }
        engine.send(packShortMessage(0x80, 60, 0));
        if (onset >= 0)
            delays.push_back(1000.0 * onset / rate);
    }
    if (delays.empty()) {
        std::fprintf(stderr, "synth_latency: the offline render stayed silent\n");
        return;
    }
    std::printf("synth.first_sound_ms: %.2f ms\n", median(delays));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    measureDevice();
    measureFirstSound();
    return 0;
}

#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/midi/ShortMessageDecoder.h"

namespace platform::midi {

// One FluidSynth synthesiser.  Without an audio driver it renders offline
// into a buffer (tests, benchmarks); startAudio() plays it through the
// first audio output that opens.  Every call is safe from any thread
// (FluidSynth serialises its API), except construction and destruction.
class SynthEngine {
public:
    struct Config {
        int sampleRate = 48000;
        // Small periods keep the buffer latency under 10 ms:
        // 128 * 3 / 48000 = 8 ms.
        int periodSize = 128;
        int periods = 3;
        // Samples are read when a preset is first selected, so a large
        // SoundFont loads quickly.
        bool dynamicSampleLoading = true;
    };

    SynthEngine();
    explicit SynthEngine(const Config& config);
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    static bool isSoundFont(const std::string& path);
    // Loads a SoundFont and selects its presets on every channel; may take a
    // while for a large font.
    bool loadSoundFont(const std::string& path);
    bool hasSoundFont() const;

    // Sends wire bytes / a packed short message (decoded with running status).
    void play(const ShortMessage& message);
    void send(std::uint32_t packed);
    // Silences every channel at once (no release tails).
    void allSoundOff();

    int activeVoices() const;

    // Offline rendering: `frames` stereo frames, interleaved left/right.
    void render(float* interleaved, int frames);

    // Tries the audio outputs in order (pulseaudio, pipewire, alsa); false
    // when none opens.  Quiet on failure: the reason is in lastError().
    bool startAudio();
    void stopAudio();
    bool audioRunning() const;
    std::string audioDriverName() const;

    int sampleRate() const;
    // Buffer latency the audio output is configured with:
    // period size * periods / sample rate, in milliseconds.
    double configuredLatencyMs() const;

    // Last error FluidSynth reported (it logs to us, not to the console).
    static std::string lastError();

private:
    struct Fluid;
    std::unique_ptr<Fluid> fluid_;
    ShortMessageDecoder decoder_;
};

} // namespace platform::midi

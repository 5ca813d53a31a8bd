#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/midi/ShortMessageDecoder.h"

namespace platform::midi {

// One FluidSynth synthesiser that renders into a buffer: the built-in
// device feeds that to the sound server, tests and benchmarks read it.
// Every call is safe from any thread (FluidSynth serialises its API),
// except construction and destruction.
class SynthEngine {
public:
    struct Config {
        int sampleRate = 48000;
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

    // Renders `frames` stereo frames, interleaved left/right.
    void render(float* interleaved, int frames);

    int sampleRate() const;

    // Last error FluidSynth or the device reported (FluidSynth logs to us,
    // not to the console).
    static std::string lastError();
    static void keepError(const std::string& text);

private:
    struct Fluid;
    std::unique_ptr<Fluid> fluid_;
    ShortMessageDecoder decoder_;
};

} // namespace platform::midi

#include "platform/midi/SynthEngine.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <mutex>

namespace platform::midi {

namespace {

std::mutex& logMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::string& lastLoggedError()
{
    static std::string text;
    return text;
}

// FluidSynth prints to the console by default; a desktop program keeps the
// last error for whoever asks and drops the chatter.
void keepFluidError(int level, const char* message, void*)
{
    if (level <= FLUID_WARN && message)
        SynthEngine::keepError(message);
}

void quietFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, keepFluidError, nullptr);
    });
}

bool exists(const char* path)
{
    struct stat info {};
    return ::stat(path, &info) == 0;
}

} // namespace

struct SynthEngine::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    int fontId = FLUID_FAILED;
};

SynthEngine::SynthEngine() : SynthEngine(Config{}) {}

SynthEngine::SynthEngine(const Config& config) : fluid_(std::make_unique<Fluid>())
{
    quietFluidLog();
    fluid_->settings = new_fluid_settings();
    fluid_settings_setnum(fluid_->settings, "synth.sample-rate", config.sampleRate);
    fluid_settings_setint(fluid_->settings, "synth.dynamic-sample-loading", config.dynamicSampleLoading ? 1 : 0);
    fluid_->synth = new_fluid_synth(fluid_->settings);
}

SynthEngine::~SynthEngine()
{
    if (fluid_->synth)
        delete_fluid_synth(fluid_->synth);
    delete_fluid_settings(fluid_->settings);
}

bool SynthEngine::isSoundFont(const std::string& path)
{
    quietFluidLog();
    return !path.empty() && exists(path.c_str()) && fluid_is_soundfont(path.c_str());
}

bool SynthEngine::loadSoundFont(const std::string& path)
{
    // Only SoundFont 2 files: anything else would be handed on to the DLS
    // reader, which complains on the console.
    if (!fluid_->synth || !isSoundFont(path))
        return false;
    const int id = fluid_synth_sfload(fluid_->synth, path.c_str(), 1);
    if (id == FLUID_FAILED)
        return false;
    fluid_->fontId = id;
    return true;
}

bool SynthEngine::hasSoundFont() const { return fluid_->fontId != FLUID_FAILED; }

void SynthEngine::play(const ShortMessage& m)
{
    fluid_synth_t* synth = fluid_->synth;
    if (!synth || m.length == 0)
        return;
    const int ch = m.channel();
    switch (m.status() & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, ch, m.data1());
        break;
    case 0x90: // velocity 0 is a note-off; FluidSynth handles that itself
        fluid_synth_noteon(synth, ch, m.data1(), m.data2());
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, ch, m.data1(), m.data2());
        break;
    case 0xB0:
        fluid_synth_cc(synth, ch, m.data1(), m.data2());
        break;
    case 0xC0:
        fluid_synth_program_change(synth, ch, m.data1());
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, ch, m.data1());
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, ch, m.data1() + m.data2() * 128);
        break;
    default:
        if (m.status() == 0xFF) // system reset
            fluid_synth_system_reset(synth);
        break;
    }
}

void SynthEngine::send(std::uint32_t packed)
{
    if (auto message = decoder_.decode(packed))
        play(*message);
}

void SynthEngine::allSoundOff()
{
    if (fluid_->synth)
        fluid_synth_all_sounds_off(fluid_->synth, -1);
}

int SynthEngine::activeVoices() const
{
    return fluid_->synth ? fluid_synth_get_active_voice_count(fluid_->synth) : 0;
}

void SynthEngine::render(float* interleaved, int frames)
{
    if (fluid_->synth && frames > 0)
        fluid_synth_write_float(fluid_->synth, frames, interleaved, 0, 2, interleaved, 1, 2);
}

int SynthEngine::sampleRate() const
{
    double rate = 0;
    fluid_settings_getnum(fluid_->settings, "synth.sample-rate", &rate);
    return static_cast<int>(rate);
}

std::string SynthEngine::lastError()
{
    std::lock_guard lock(logMutex());
    return lastLoggedError();
}

void SynthEngine::keepError(const std::string& text)
{
    std::lock_guard lock(logMutex());
    lastLoggedError() = text;
}

} // namespace platform::midi

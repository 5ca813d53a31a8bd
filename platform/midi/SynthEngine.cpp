#include "platform/midi/SynthEngine.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <mutex>
#include <vector>

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
void keepError(int level, const char* message, void*)
{
    if (level > FLUID_WARN || !message)
        return;
    std::lock_guard lock(logMutex());
    lastLoggedError() = message;
}

void quietFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, keepError, nullptr);
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
    fluid_audio_driver_t* driver = nullptr;
    std::string driverName;
    int fontId = FLUID_FAILED;
    mutable std::mutex audioMutex; // guards driver and driverName
};

SynthEngine::SynthEngine() : SynthEngine(Config{}) {}

SynthEngine::SynthEngine(const Config& config) : fluid_(std::make_unique<Fluid>())
{
    quietFluidLog();
    fluid_->settings = new_fluid_settings();
    fluid_settings_setnum(fluid_->settings, "synth.sample-rate", config.sampleRate);
    fluid_settings_setint(fluid_->settings, "synth.dynamic-sample-loading", config.dynamicSampleLoading ? 1 : 0);
    fluid_settings_setint(fluid_->settings, "audio.period-size", config.periodSize);
    fluid_settings_setint(fluid_->settings, "audio.periods", config.periods);
    fluid_->synth = new_fluid_synth(fluid_->settings);
}

SynthEngine::~SynthEngine()
{
    stopAudio();
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

bool SynthEngine::startAudio()
{
    std::lock_guard lock(fluid_->audioMutex);
    if (fluid_->driver)
        return true;
    if (!fluid_->synth)
        return false;
    std::vector<std::string> available;
    fluid_settings_foreach_option(fluid_->settings, "audio.driver", &available,
                                  [](void* data, const char*, const char* option) {
                                      static_cast<std::vector<std::string>*>(data)->push_back(option);
                                  });
    std::string reasons;
    for (const std::string name : {"pulseaudio", "pipewire", "alsa"}) {
        if (std::find(available.begin(), available.end(), name) == available.end())
            continue;
        // Without sound cards the ALSA library writes its complaints straight
        // to the console; there is nothing to open anyway.
        if (name == "alsa" && !exists("/dev/snd"))
            continue;
        fluid_settings_setstr(fluid_->settings, "audio.driver", name.c_str());
        fluid_->driver = new_fluid_audio_driver(fluid_->settings, fluid_->synth);
        if (fluid_->driver) {
            fluid_->driverName = name;
            return true;
        }
        reasons += (reasons.empty() ? "" : "; ") + name + ": " + lastError();
    }
    std::lock_guard logLock(logMutex());
    lastLoggedError() = reasons.empty() ? "no audio output on this machine" : reasons;
    return false;
}

void SynthEngine::stopAudio()
{
    std::lock_guard lock(fluid_->audioMutex);
    if (!fluid_->driver)
        return;
    delete_fluid_audio_driver(fluid_->driver);
    fluid_->driver = nullptr;
    fluid_->driverName.clear();
}

bool SynthEngine::audioRunning() const
{
    std::lock_guard lock(fluid_->audioMutex);
    return fluid_->driver != nullptr;
}

std::string SynthEngine::audioDriverName() const
{
    std::lock_guard lock(fluid_->audioMutex);
    return fluid_->driverName;
}

int SynthEngine::sampleRate() const
{
    double rate = 0;
    fluid_settings_getnum(fluid_->settings, "synth.sample-rate", &rate);
    return static_cast<int>(rate);
}

double SynthEngine::configuredLatencyMs() const
{
    int periodSize = 0;
    int periods = 0;
    fluid_settings_getint(fluid_->settings, "audio.period-size", &periodSize);
    fluid_settings_getint(fluid_->settings, "audio.periods", &periods);
    const int rate = sampleRate();
    return rate > 0 ? 1000.0 * periodSize * periods / rate : 0.0;
}

std::string SynthEngine::lastError()
{
    std::lock_guard lock(logMutex());
    return lastLoggedError();
}

} // namespace platform::midi

#include "platform/midi/OfflineRender.h"

#include <fluidsynth.h>

#include <algorithm>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/SoundFontSearch.h"
#include "platform/midi/SynthEngine.h"

namespace platform::midi {
namespace {
// Frames the file renderer writes per call: events land on these steps, so
// at 44.1 kHz none moves by more than 0.73 ms.
constexpr int BlockFrames = 64;

std::int64_t toFrame(std::int64_t microseconds, int rate)
{
    return std::max<std::int64_t>(microseconds, 0) * rate / 1'000'000;
}

void handle(fluid_synth_t* synth, std::uint32_t packed)
{
    const int status = statusOf(packed);
    if (status < 0x80 || status >= 0xF0)
        return; // only channel messages belong in a performance
    fluid_midi_event_t* event = new_fluid_midi_event();
    fluid_midi_event_set_type(event, status & 0xF0);
    fluid_midi_event_set_channel(event, status & 0x0F);
    if ((status & 0xF0) == 0xE0) {
        fluid_midi_event_set_pitch(event, data1Of(packed) + data2Of(packed) * 128);
    } else {
        fluid_midi_event_set_key(event, data1Of(packed)); // the first data byte, whatever its meaning
        fluid_midi_event_set_velocity(event, data2Of(packed));
    }
    fluid_synth_handle_midi_event(synth, event);
    delete_fluid_midi_event(event);
}
} // namespace

std::vector<std::string> writableAudioFileTypes()
{
    std::vector<std::string> types;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_foreach_option(settings, "audio.file.type", &types,
                                  [](void* data, const char*, const char* option) {
                                      if (std::string(option) != "auto")
                                          static_cast<std::vector<std::string>*>(data)->push_back(option);
                                  });
    delete_fluid_settings(settings);
    return types;
}

struct OfflineRender::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_file_renderer_t* renderer = nullptr;

    ~Fluid()
    {
        if (renderer)
            delete_fluid_file_renderer(renderer);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

OfflineRender::OfflineRender(std::vector<TimedMessage> messages, std::int64_t endMicroseconds, const std::string& path,
                             const Settings& settings)
    : fluid_(std::make_unique<Fluid>()), messages_(std::move(messages)), sampleRate_(settings.sampleRate)
{
    std::stable_sort(messages_.begin(), messages_.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.microseconds < b.microseconds; });
    const std::int64_t lastMessage = messages_.empty() ? 0 : messages_.back().microseconds;
    endFrame_ = toFrame(std::max(endMicroseconds, lastMessage), sampleRate_);
    limitFrame_ = endFrame_ + toFrame(settings.tailMicroseconds, sampleRate_);

    const std::string font = settings.soundFont.empty() ? findGmSoundFont() : settings.soundFont;
    if (!SynthEngine::isSoundFont(font)) { // also keeps FluidSynth's messages off the console
        error_ = font.empty() ? "no General MIDI SoundFont was found" : "\"" + font + "\" is not a SoundFont";
        return;
    }
    const std::vector<std::string> types = writableAudioFileTypes();
    if (std::find(types.begin(), types.end(), settings.fileType) == types.end()) {
        error_ = "the synthesiser library cannot write " + settings.fileType + " files";
        return;
    }

    Fluid& f = *fluid_;
    f.settings = new_fluid_settings();
    fluid_settings_setnum(f.settings, "synth.sample-rate", sampleRate_);
    // Only the presets the performance chooses are read from the font.
    fluid_settings_setint(f.settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(f.settings, "audio.period-size", BlockFrames);
    fluid_settings_setstr(f.settings, "audio.file.name", path.c_str());
    fluid_settings_setstr(f.settings, "audio.file.type", settings.fileType.c_str());
    // Vorbis is coded from floating-point samples; the others keep 16 bits.
    fluid_settings_setstr(f.settings, "audio.file.format", settings.fileType == "oga" ? "float" : "s16");
    f.synth = new_fluid_synth(f.settings);
    if (!f.synth || fluid_synth_sfload(f.synth, font.c_str(), 1) == FLUID_FAILED) {
        error_ = "the SoundFont \"" + font + "\" could not be loaded: " + SynthEngine::lastError();
        return;
    }
    f.renderer = new_fluid_file_renderer(f.synth);
    if (!f.renderer)
        error_ = "\"" + path + "\" could not be written: " + SynthEngine::lastError();
}

OfflineRender::~OfflineRender() = default;

bool OfflineRender::renderSome(std::int64_t microseconds)
{
    if (!ok() || finished_)
        return false;
    fluid_synth_t* synth = fluid_->synth;
    const std::int64_t stop = frame_ + std::max<std::int64_t>(toFrame(microseconds, sampleRate_), BlockFrames);
    while (frame_ < stop) {
        // Everything due before the middle of this block goes out before it.
        const std::int64_t due = frame_ + BlockFrames / 2;
        while (next_ < messages_.size() && toFrame(messages_[next_].microseconds, sampleRate_) < due)
            handle(synth, messages_[next_++].packed);
        const bool allSent = next_ == messages_.size();
        // At least one block: some coders (FLAC) write no valid file for no samples at all.
        if (allSent && frame_ > 0 && frame_ >= endFrame_ &&
            (fluid_synth_get_active_voice_count(synth) == 0 || frame_ >= limitFrame_)) {
            finished_ = true;
            return false;
        }
        if (fluid_file_renderer_process_block(fluid_->renderer) != FLUID_OK) {
            error_ = "the audio file could not be written: " + SynthEngine::lastError();
            return false;
        }
        frame_ += BlockFrames;
    }
    return true;
}

double OfflineRender::progress() const
{
    if (finished_ || limitFrame_ <= 0)
        return 1.0;
    return std::clamp(double(frame_) / double(limitFrame_), 0.0, 1.0);
}

std::int64_t OfflineRender::renderedMicroseconds() const { return frame_ * 1'000'000 / sampleRate_; }

void OfflineRender::close()
{
    if (fluid_->renderer) {
        delete_fluid_file_renderer(fluid_->renderer);
        fluid_->renderer = nullptr;
    }
}

} // namespace platform::midi

#include "platform/midi/BuiltinSynth.h"

#include "platform/midi/MidiService.h"
#include "platform/midi/SoundFontSearch.h"

namespace platform::midi {

BuiltinSynth::BuiltinSynth(std::string soundFontPath, SynthEngine::Config config, Audio audio)
    : fontPath_(std::move(soundFontPath)), config_(config), audio_(audio)
{
}

BuiltinSynth::~BuiltinSynth()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
    if (engine_) {
        engine_->allSoundOff();
        engine_->stopAudio();
    }
}

int BuiltinSynth::open()
{
    std::lock_guard lock(mutex_);
    if (font_ == FontState::Failed)
        return MidiNoDriver;
    if (!engine_) {
        if (fontPath_.empty())
            fontPath_ = findGmSoundFont();
        if (!SynthEngine::isSoundFont(fontPath_))
            return MidiNoDriver;
        engine_ = std::make_unique<SynthEngine>(config_);
    }
    if (audio_ == Audio::Driver && !engine_->startAudio())
        return MidiNoDriver;
    ++ports_;
    if (font_ == FontState::NotLoaded) {
        font_ = FontState::Loading;
        worker_ = std::thread(&BuiltinSynth::run, this);
    }
    return MidiOk;
}

void BuiltinSynth::close()
{
    {
        std::lock_guard lock(mutex_);
        if (ports_ == 0)
            return;
        if (--ports_ == 0) {
            idleSince_ = Clock::now();
            queue_.push_back({idleSince_, true, {}});
        }
    }
    wake_.notify_all();
}

void BuiltinSynth::play(const ShortMessage& message)
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || font_ == FontState::Failed || font_ == FontState::NotLoaded)
            return;
        queue_.push_back({Clock::now(), false, message});
    }
    wake_.notify_all();
}

bool BuiltinSynth::waitUntilReady(Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, deadline, [this] { return font_ != FontState::Loading; });
    return font_ == FontState::Ready;
}

bool BuiltinSynth::drain(Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    return wake_.wait_until(lock, deadline, [this] {
        return font_ != FontState::Loading && queue_.empty() && !inFlight_;
    });
}

int BuiltinSynth::activeVoices() const
{
    std::lock_guard lock(mutex_);
    return engine_ ? engine_->activeVoices() : 0;
}

double BuiltinSynth::configuredLatencyMs() const
{
    std::lock_guard lock(mutex_);
    return engine_ ? engine_->configuredLatencyMs() : 1000.0 * config_.periodSize * config_.periods / config_.sampleRate;
}

std::string BuiltinSynth::audioDriverName() const
{
    std::lock_guard lock(mutex_);
    return engine_ ? engine_->audioDriverName() : std::string();
}

std::string BuiltinSynth::soundFontPath() const
{
    std::lock_guard lock(mutex_);
    return fontPath_;
}

int BuiltinSynth::openPorts() const
{
    std::lock_guard lock(mutex_);
    return ports_;
}

void BuiltinSynth::run()
{
    const bool loaded = engine_->loadSoundFont(fontPath_);
    std::unique_lock lock(mutex_);
    font_ = loaded ? FontState::Ready : FontState::Failed;
    wake_.notify_all();
    if (!loaded) {
        // Nothing can sound; free the audio output and refuse later opens.
        queue_.clear();
        engine_->stopAudio();
        return;
    }
    deliver(lock);
}

void BuiltinSynth::deliver(std::unique_lock<std::mutex>& lock)
{
    DeliverySchedule schedule;
    while (!stopping_) {
        if (queue_.empty()) {
            if (ports_ == 0 && engine_->audioRunning()) {
                const auto release = idleSince_ + kIdleRelease;
                if (Clock::now() >= release)
                    engine_->stopAudio(); // under the lock, so open() cannot race it
                else
                    wake_.wait_until(lock, release);
            } else {
                wake_.wait(lock);
            }
            continue;
        }

        const Pending next = queue_.front();
        const auto due = schedule.due(next.sent, Clock::now());
        if (due > Clock::now()) {
            // Only this thread pops, so the front stays the same meanwhile.
            wake_.wait_until(lock, due, [this] { return stopping_; });
            if (stopping_)
                return;
        }
        queue_.pop_front();
        inFlight_ = true;
        lock.unlock();
        if (next.soundOff)
            engine_->allSoundOff();
        else
            engine_->play(next.message);
        lock.lock();
        inFlight_ = false;
        wake_.notify_all();
    }
}

} // namespace platform::midi

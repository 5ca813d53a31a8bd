#include "platform/midi/BuiltinSynth.h"

#include <QCoreApplication>

#include <pulse/mainloop.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/MidiService.h"
#include "platform/midi/PulseStream.h"
#include "platform/midi/SoundFontSearch.h"
#include "platform/midi/SteadyTime.h"
#include "platform/midi/SynthTrace.h"

namespace platform::midi {

namespace {

// The stream's buffer is a few milliseconds long, so a block rendered late
// under a busy window or build is a gap heard as a click, and the gap stays
// as extra latency.  Where the system allows it (root, or an rtprio limit),
// the render thread runs at a real-time priority as audio threads do;
// elsewhere it stays as it is.
void raiseToRealTime()
{
    sched_param param{};
    param.sched_priority = 50;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

constexpr std::chrono::seconds kConnectTimeout{5};
// After the server went away, a note tries it again at most this often, and
// waits this long for an answer (a restarted server answers at once).
constexpr std::chrono::seconds kRetryInterval{2};
constexpr std::chrono::seconds kRetryTimeout{1};
// While the stream runs, the server is asked again for its latency this often.
constexpr std::chrono::milliseconds kLatencyInterval{250};

bool isNoteOn(const ShortMessage& m) { return m.length == 3 && (m.status() & 0xF0) == 0x90 && m.data2() > 0; }

} // namespace

BuiltinSynth::BuiltinSynth(std::string soundFontPath, SynthEngine::Config config)
    : fontPath_(std::move(soundFontPath)), config_(config), loop_(pa_mainloop_new()),
      wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    // The loop's own wake-up is cleared whenever it prepares to wait, so one
    // sent just before would be lost; an event of our own stays set until
    // the loop has seen it.
    pa_mainloop_api* api = pa_mainloop_get_api(loop_);
    wakeEvent_ = api->io_new(
        api, wakeFd_, PA_IO_EVENT_INPUT,
        [](pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void*) {
            eventfd_t count;
            eventfd_read(fd, &count);
        },
        nullptr);
}

BuiltinSynth::~BuiltinSynth()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wakeWorker();
    if (worker_.joinable())
        worker_.join();
    stream_.reset();
    pa_mainloop_get_api(loop_)->io_free(wakeEvent_);
    pa_mainloop_free(loop_);
    ::close(wakeFd_);
}

void BuiltinSynth::wakeWorker() { eventfd_write(wakeFd_, 1); }

int BuiltinSynth::open()
{
    std::unique_lock lock(mutex_);
    if (font_ == FontState::Failed)
        return MidiNoDriver;
    if (!engine_) {
        if (fontPath_.empty())
            fontPath_ = findGmSoundFont();
        if (!SynthEngine::isSoundFont(fontPath_))
            return MidiNoDriver;
        engine_ = std::make_unique<SynthEngine>(config_);
    }
    if (output_ != Output::Up) {
        output_ = Output::Wanted;
        startWorker();
        wakeWorker();
        changed_.wait(lock, [this] { return output_ != Output::Wanted; });
        if (output_ != Output::Up)
            return MidiNoDriver;
    }
    ++ports_;
    if (font_ == FontState::NotLoaded)
        font_ = FontState::Loading;
    startWorker();
    wakeWorker();
    return MidiOk;
}

void BuiltinSynth::startWorker()
{
    if (!worker_.joinable())
        worker_ = std::thread(&BuiltinSynth::run, this);
}

void BuiltinSynth::close()
{
    {
        std::lock_guard lock(mutex_);
        if (ports_ == 0)
            return;
        if (--ports_ == 0)
            queue_.push_back({Clock::now(), true, {}, std::nullopt});
    }
    wakeWorker();
}

void BuiltinSynth::play(const ShortMessage& message)
{
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || font_ == FontState::Failed || font_ == FontState::NotLoaded)
            return;
        queue_.push_back({Clock::now(), false, message, std::nullopt});
    }
    wakeWorker();
}

bool BuiltinSynth::waitUntilReady(Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [this] { return font_ != FontState::Loading; });
    return font_ == FontState::Ready;
}

bool BuiltinSynth::drain(Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, deadline, [this] {
        return font_ != FontState::Loading && queue_.empty() && !inFlight_;
    });
}

int BuiltinSynth::activeVoices() const
{
    std::lock_guard lock(mutex_);
    return engine_ ? engine_->activeVoices() : 0;
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

double BuiltinSynth::outputLatencyMs() const
{
    const long long us = latencyUs_;
    return us < 0 ? -1.0 : us / 1000.0 + 1000.0 * kBlockFrames / config_.sampleRate;
}

void BuiltinSynth::run()
{
    raiseToRealTime();
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (output_ == Output::Wanted) {
            lock.unlock();
            const bool up = connectStream(kConnectTimeout);
            lock.lock();
            output_ = up ? Output::Up : Output::Failed;
            changed_.notify_all();
            continue;
        }
        if (font_ == FontState::Loading) {
            lock.unlock();
            const bool loaded = engine_->loadSoundFont(fontPath_);
            lock.lock();
            font_ = loaded ? FontState::Ready : FontState::Failed;
            if (!loaded)
                queue_.clear(); // nothing can sound; later opens are refused
            changed_.notify_all();
            continue;
        }
        const auto next = deliverDue(lock);
        lock.unlock();
        tendStream();
        wait(next);
        lock.lock();
    }
}

bool BuiltinSynth::connectStream(std::chrono::seconds timeout)
{
    stream_.reset();
    streaming_ = false;
    gate_ = SilenceGate();
    auto stream = std::make_unique<PulseStream>(loop_, [this](float* out, int frames) { renderBlock(out, frames); });
    const std::string name =
        QCoreApplication::instance() ? QCoreApplication::applicationName().toStdString() : std::string("synthesiser");
    PulseStream::Format format;
    format.rate = config_.sampleRate;
    format.blockFrames = kBlockFrames;
    format.latencyFrames = kLatencyFrames;
    format.quantumFrames = kQuantumFrames;
    if (!stream->connect(name, format, timeout)) {
        SynthEngine::keepError("sound server: " + stream->error());
        return false;
    }
    stream->onLatency([this](long long us) {
        latencyUs_ = us;
        SynthTrace::write("latency", Clock::now(), {us});
    });
    // The server plays what is rendered from here on.
    stream->onStarted([] { SynthTrace::write("ready", Clock::now()); });
    stream_ = std::move(stream);
    lost_ = false;
    SynthTrace::write("stream", Clock::now(), {config_.sampleRate, kBlockFrames, kLatencyFrames});
    return true;
}

std::optional<BuiltinSynth::Clock::time_point> BuiltinSynth::deliverDue(std::unique_lock<std::mutex>& lock)
{
    while (!queue_.empty()) {
        Pending& next = queue_.front();
        const auto now = Clock::now();
        // Asked once per message: the schedule keeps track of what it was told.
        if (!next.due)
            next.due = next.soundOff ? now : schedule_.due(next.message, next.sent, now);
        if (*next.due > now)
            return next.due;
        const Pending pending = next;
        queue_.pop_front();
        inFlight_ = true;
        lock.unlock();
        playNow(pending);
        lock.lock();
        inFlight_ = false;
        changed_.notify_all();
    }
    return std::nullopt;
}

void BuiltinSynth::playNow(const Pending& pending)
{
    if (pending.soundOff) {
        engine_->allSoundOff();
        schedule_.releaseAll();
        return;
    }
    const ShortMessage& m = pending.message;
    engine_->play(m);
    played_ = true;
    if (isNoteOn(m))
        onsets_.noteOn(pending.sent);
    if (SynthTrace::on())
        SynthTrace::write("play", Clock::now(),
                          {packShortMessage(m.status(), m.data1(), m.data2()), steadyMicros(pending.sent)});
}

void BuiltinSynth::renderBlock(float* interleaved, int frames)
{
    engine_->render(interleaved, frames);
    float peak = 0;
    for (int i = 0; i < 2 * frames; ++i)
        peak = std::max(peak, std::fabs(interleaved[i]));
    const auto now = Clock::now();
    if (const auto sent = onsets_.block(peak); sent && SynthTrace::on())
        SynthTrace::write("onset", now, {steadyMicros(*sent)});
    if (gate_.rendered(peak, engine_->activeVoices(), now))
        silent_ = true;
}

void BuiltinSynth::tendStream()
{
    const auto now = Clock::now();
    if (stream_ && !stream_->connected()) {
        // The server went away or restarted: the next note (or a later
        // open) connects again.
        stream_.reset();
        streaming_ = false;
        lost_ = true;
        retryAt_ = now;
        engine_->allSoundOff();
        SynthTrace::write("lost", now);
        std::lock_guard lock(mutex_);
        output_ = Output::None;
    }
    if (lost_) {
        reconnect(now);
        if (!stream_) {
            // What nobody could hear must not all sound at once later.
            if (played_)
                engine_->allSoundOff();
            played_ = false;
            return;
        }
    }
    if (!stream_)
        return;
    if (played_ && gate_.played(engine_->activeVoices())) {
        SynthTrace::write("wake", now); // before the blocks a resting stream renders at once
        stream_->setRunning(true);
        streaming_ = true;
        latencyAsked_ = now; // asked once the new stream is ready
    } else if (played_) {
        stream_->renderNow();
    }
    played_ = false;
    if (silent_) {
        silent_ = false;
        stream_->setRunning(false);
        streaming_ = false;
        SynthTrace::write("sleep", now);
    }
    if (stream_->running() && now - latencyAsked_ >= kLatencyInterval) {
        latencyAsked_ = now;
        stream_->requestLatency();
    }
}

void BuiltinSynth::reconnect(Clock::time_point now)
{
    if (!played_ || now < retryAt_)
        return;
    retryAt_ = now + kRetryInterval;
    if (!connectStream(kRetryTimeout))
        return;
    std::lock_guard lock(mutex_);
    output_ = Output::Up; // an open waiting meanwhile has its answer too
    changed_.notify_all();
}

void BuiltinSynth::wait(std::optional<Clock::time_point> until)
{
    int timeout = -1; // until the server or a sender wakes us
    if (until) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(*until - Clock::now()).count();
        timeout = static_cast<int>(std::clamp<long long>(left, 0, 1'000'000'000));
    }
    pa_mainloop_prepare(loop_, timeout);
    pa_mainloop_poll(loop_);
    pa_mainloop_dispatch(loop_);
}

} // namespace platform::midi

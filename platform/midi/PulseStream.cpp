#include "platform/midi/PulseStream.h"

#include <pulse/pulseaudio.h>

namespace platform::midi {

namespace {

constexpr std::size_t kFrameBytes = 2 * sizeof(float);

} // namespace

PulseStream::PulseStream(pa_mainloop* loop, Render render) : loop_(loop), render_(std::move(render)) {}

PulseStream::~PulseStream()
{
    remove();
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
}

std::string PulseStream::serverError() const
{
    return context_ ? pa_strerror(pa_context_errno(context_)) : "no sound server";
}

bool PulseStream::waitUntil(const std::function<int()>& state, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const int s = state();
        if (s > 0)
            return true;
        if (s < 0)
            return false;
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            error_ = "the sound server did not answer";
            return false;
        }
        pa_mainloop_prepare(loop_, static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(left).count()));
        pa_mainloop_poll(loop_);
        pa_mainloop_dispatch(loop_);
    }
}

bool PulseStream::connect(const std::string& appName, const Format& format, std::chrono::milliseconds timeout)
{
    format_ = format;
    // PipeWire's PulseAudio service holds every client to requests and
    // graph periods of at least 256 frames (5.3 ms) unless the client asks
    // for less; PulseAudio has no such floor and ignores these.
    pa_proplist* properties = pa_proplist_new();
    const std::string rate = "/" + std::to_string(format.rate);
    pa_proplist_sets(properties, "pulse.min.req", (std::to_string(format.blockFrames) + rate).c_str());
    pa_proplist_sets(properties, "pulse.min.quantum", (std::to_string(format.quantumFrames) + rate).c_str());
    context_ = pa_context_new_with_proplist(pa_mainloop_get_api(loop_), appName.c_str(), properties);
    pa_proplist_free(properties);
    // No autospawn: a desktop without a sound server gets a clear failure,
    // not a daemon started behind its back.
    if (!context_ || pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error_ = serverError();
        return false;
    }
    const bool ready = waitUntil(
        [this] {
            const pa_context_state_t s = pa_context_get_state(context_);
            return s == PA_CONTEXT_READY ? 1 : PA_CONTEXT_IS_GOOD(s) ? 0 : -1;
        },
        timeout);
    if (!ready) {
        if (error_.empty())
            error_ = serverError();
        return false;
    }

    if (!askServerName(timeout))
        return false;

    // A stream is tried at once, so a server that cannot play this format
    // fails the open rather than the first note.
    const bool streaming = create(true) && waitUntil(
        [this] {
            const pa_stream_state_t s = pa_stream_get_state(stream_);
            return s == PA_STREAM_READY ? 1 : PA_STREAM_IS_GOOD(s) ? 0 : -1;
        },
        timeout);
    if (!streaming) {
        if (error_.empty())
            error_ = serverError();
        remove();
        return false;
    }
    idle_.proved(*this);
    return true;
}

bool PulseStream::askServerName(std::chrono::milliseconds timeout)
{
    struct Answer {
        bool given = false;
        std::string name;
    } answer;
    pa_operation* question = pa_context_get_server_info(
        context_,
        [](pa_context*, const pa_server_info* info, void* data) {
            auto* answer = static_cast<Answer*>(data);
            if (info && info->server_name)
                answer->name = info->server_name;
            answer->given = true;
        },
        &answer);
    if (!question) {
        error_ = serverError();
        return false;
    }
    const bool given = waitUntil(
        [&] { return answer.given ? 1 : PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)) ? 0 : -1; }, timeout);
    if (!given) {
        pa_operation_cancel(question); // its answer must not land in `answer` later
        if (error_.empty())
            error_ = serverError();
    }
    pa_operation_unref(question);
    if (given)
        idle_ = IdleStrategy(IdleStrategy::forServer(answer.name));
    return given;
}

bool PulseStream::create(bool corked)
{
    const pa_sample_spec sampleFormat{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(format_.rate), 2};
    stream_ = pa_stream_new(context_, "General MIDI synthesiser", &sampleFormat, nullptr);
    if (!stream_) {
        error_ = serverError();
        return false;
    }
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(format_.latencyFrames * kFrameBytes);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(format_.blockFrames * kFrameBytes);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    pa_stream_set_write_callback(stream_, &PulseStream::onWrite, this);
    auto flags = PA_STREAM_ADJUST_LATENCY;
    if (corked)
        flags = static_cast<pa_stream_flags_t>(flags | PA_STREAM_START_CORKED);
    if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        error_ = serverError();
        remove();
        return false;
    }
    return true;
}

void PulseStream::remove()
{
    if (!stream_)
        return;
    if (latencyQuestion_) {
        // Its question goes with it, unanswered.
        pa_operation_cancel(latencyQuestion_);
        pa_operation_unref(latencyQuestion_);
        latencyQuestion_ = nullptr;
    }
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
    ahead_ = false;
    latencyKnown_ = false;
}

bool PulseStream::connected() const
{
    return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY &&
           (!stream_ || PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)));
}

void PulseStream::setCorked(bool corked)
{
    if (pa_operation* cork = pa_stream_cork(stream_, corked, nullptr, nullptr))
        pa_operation_unref(cork);
    if (!corked)
        return;
    if (pa_operation* flush = pa_stream_flush(stream_, nullptr, nullptr))
        pa_operation_unref(flush);
    ahead_ = false;
}

void PulseStream::setRunning(bool running)
{
    if (!connected() || running == running_)
        return;
    running_ = running;
    starting_ = running;
    latencyKnown_ = false; // asked again with the first blocks of the next start
    if (!running) {
        idle_.stop(*this);
        return;
    }
    if (!idle_.start(*this)) {
        running_ = starting_ = false; // connected() now says why nothing plays
        return;
    }
    if (pa_stream_get_state(stream_) == PA_STREAM_READY) {
        // The resting stream was uncorked: what was just played waits in
        // the server's buffer for the graph's first period.
        fill();
        ahead_ = true;
    }
}

void PulseStream::requestLatency()
{
    if (!stream_ || pa_stream_get_state(stream_) != PA_STREAM_READY || latencyQuestion_)
        return;
    latencyQuestion_ = pa_stream_update_timing_info(
        stream_,
        [](pa_stream* stream, int success, void* data) {
            auto* self = static_cast<PulseStream*>(data);
            pa_operation_unref(self->latencyQuestion_);
            self->latencyQuestion_ = nullptr;
            pa_usec_t usec = 0;
            int negative = 0;
            // Before the first blocks have reached the server the figure
            // can come out negative; the next blocks ask again.
            if (!success || pa_stream_get_latency(stream, &usec, &negative) != 0 || negative)
                return;
            self->latencyKnown_ = true;
            if (self->latencyListener_)
                self->latencyListener_(static_cast<long long>(usec));
        },
        this);
}

void PulseStream::onWrite(pa_stream*, std::size_t, void* self)
{
    // Called only once the server wants more than was sent ahead.
    auto* stream = static_cast<PulseStream*>(self);
    stream->ahead_ = false;
    if (!stream->running_)
        return;
    if (stream->starting_) {
        stream->starting_ = false;
        if (stream->startedListener_)
            stream->startedListener_();
    }
    stream->fill();
}

void PulseStream::renderNow()
{
    if (!running_ || ahead_ || pa_stream_get_state(stream_) != PA_STREAM_READY)
        return;
    ahead_ = true;
    write(kAheadBlocks * format_.blockFrames);
}

void PulseStream::fill()
{
    const std::size_t writable = pa_stream_writable_size(stream_);
    if (writable == static_cast<std::size_t>(-1))
        return;
    const int block = format_.blockFrames;
    write(static_cast<int>(writable / kFrameBytes) / block * block);
}

void PulseStream::write(int frames)
{
    const int block = format_.blockFrames;
    if (frames == 0)
        return;
    buffer_.resize(static_cast<std::size_t>(frames) * 2);
    for (int at = 0; at < frames; at += block)
        render_(buffer_.data() + static_cast<std::size_t>(at) * 2, block);
    pa_stream_write(stream_, buffer_.data(), static_cast<std::size_t>(frames) * kFrameBytes, nullptr, 0,
                    PA_SEEK_RELATIVE);
    if (!latencyKnown_)
        requestLatency();
}

} // namespace platform::midi

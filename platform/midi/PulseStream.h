#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/midi/IdleStrategy.h"

struct pa_context;
struct pa_mainloop;
struct pa_operation;
struct pa_stream;

namespace platform::midi {

// One playback stream to the sound server (PulseAudio, or PipeWire's
// PulseAudio service), stereo 32-bit float.  It runs on the caller's
// pa_mainloop: every call and callback happens on the thread that iterates
// that loop.  While running it renders what the server asks for, a whole
// number of blocks at a time.  Stopped, it rests as suits the server
// (IdleStrategy): removed on PulseAudio, corked on PipeWire.
class PulseStream : private ServerStream {
public:
    using Render = std::function<void(float* interleaved, int frames)>;
    struct Format {
        int rate = 48000;
        int blockFrames = 64;     // rendered in blocks of this many frames
        int latencyFrames = 256;  // the stream's buffer plus the sink's
        // The shortest period of the server's graph this stream needs,
        // where the server lets a client ask for it (PipeWire's PulseAudio
        // service; PulseAudio sizes its sink by latencyFrames alone).
        int quantumFrames = 128;
    };

    PulseStream(pa_mainloop* loop, Render render);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Connects to the server, learns which server it is and proves that it
    // takes a stream of this format, iterating the loop until it has
    // answered; false (with error()) when that fails.  The stream starts
    // stopped.
    bool connect(const std::string& appName, const Format& format, std::chrono::milliseconds timeout);
    // False once the server has gone away or refused the stream.
    bool connected() const;
    // Starting renders at once where the resting stream is still there
    // (uncorked), else as soon as the server has taken the new stream, one
    // round trip later.  Stopping drops what is still buffered (silence by
    // then).
    void setRunning(bool running);
    bool running() const { return running_; }
    // Told on this loop when the server first asks for audio after a
    // start: from then on it plays what is rendered.
    void onStarted(std::function<void()> listener) { startedListener_ = std::move(listener); }
    // Renders kAheadBlocks now instead of at the server's next request, so
    // what was just played is on its way at once (two, as a sampled
    // instrument's attack can take a block to be heard).  They land where
    // that request would have put them; the stream runs at most this far
    // ahead of the server, until the server asks again.
    void renderNow();
    static constexpr int kAheadBlocks = 2;
    // Told of this stream's latency (its buffer plus the sink's) in
    // microseconds, on this loop: first as soon as a started stream has
    // sent its first blocks, so the figure never waits for a later
    // question, then after every requestLatency().
    void onLatency(std::function<void(long long)> listener) { latencyListener_ = std::move(listener); }
    // Asks the server again; nothing when not running or already asking.
    void requestLatency();
    std::string error() const { return error_; }

private:
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    bool create(bool corked) override;
    void remove() override;
    void setCorked(bool corked) override;
    bool askServerName(std::chrono::milliseconds timeout);
    bool waitUntil(const std::function<int()>& state, std::chrono::milliseconds timeout);
    void fill();
    void write(int frames); // renders and sends a whole number of blocks
    std::string serverError() const;

    pa_mainloop* loop_;
    Render render_;
    Format format_;
    pa_context* context_ = nullptr;
    IdleStrategy idle_{IdleStrategy::Rest::Remove};
    pa_stream* stream_ = nullptr; // none while removed to rest
    bool running_ = false;
    bool starting_ = false; // started, and the server has not asked for audio yet
    bool ahead_ = false; // a block went out that the server has not asked for yet
    std::vector<float> buffer_;
    std::function<void(long long)> latencyListener_;
    std::function<void()> startedListener_;
    pa_operation* latencyQuestion_ = nullptr; // in flight
    bool latencyKnown_ = false;               // for this stream
    std::string error_;
};

} // namespace platform::midi

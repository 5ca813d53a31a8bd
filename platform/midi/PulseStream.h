#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace platform::midi {

// One playback stream to the sound server (PulseAudio, or PipeWire's
// PulseAudio service), stereo 32-bit float.  It runs on the caller's
// pa_mainloop: every call and callback happens on the thread that iterates
// that loop.  While running it renders what the server asks for, a whole
// number of blocks at a time; stopped, it asks and costs nothing.
class PulseStream {
public:
    using Render = std::function<void(float* interleaved, int frames)>;
    struct Format {
        int rate = 48000;
        int blockFrames = 64;     // rendered in blocks of this many frames
        int latencyFrames = 256;  // the stream's buffer plus the sink's
    };

    PulseStream(pa_mainloop* loop, Render render);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // Connects to the server and creates the stream, stopped, iterating the
    // loop until it is ready; false (with error()) when that fails.
    bool connect(const std::string& appName, const Format& format, std::chrono::milliseconds timeout);
    // False once the server has gone away.
    bool connected() const;
    // Starting fills the buffer at once, then lets the server play it;
    // stopping also drops what is still buffered (silence by then).
    void setRunning(bool running);
    bool running() const { return running_; }
    // Asks the server for this stream's latency (its buffer plus the
    // sink's); `reply` gets it in microseconds on this loop.
    void requestLatency(std::function<void(long long)> reply);
    std::string error() const { return error_; }

private:
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    bool waitUntil(const std::function<int()>& state, std::chrono::milliseconds timeout);
    void fill();
    std::string serverError() const;

    pa_mainloop* loop_;
    Render render_;
    Format format_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    bool running_ = false;
    std::vector<float> buffer_;
    std::function<void(long long)> latencyReply_;
    std::string error_;
};

} // namespace platform::midi

#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/midi/DeliverySchedule.h"
#include "platform/midi/OnsetProbe.h"
#include "platform/midi/ShortMessageDecoder.h"
#include "platform/midi/SilenceGate.h"
#include "platform/midi/SynthEngine.h"

struct pa_io_event;
struct pa_mainloop;

namespace platform::midi {

class PulseStream;

// The built-in General MIDI synthesiser as a device that ports open and
// close.  It has one thread of its own, which plays every message in order,
// renders the audio and feeds it to the sound server's stream.  Opening
// connects that stream (so a missing SoundFont or sound server is reported
// by the open) and loads the SoundFont on the device's thread, so the caller
// is never held up by the disk; messages sent meanwhile are played when it
// is ready, keeping their spacing.  The stream stops while nothing sounds
// and starts again with the next note; when the server goes away, the next
// note connects again.
class BuiltinSynth {
public:
    using Clock = std::chrono::steady_clock;

    // Rendered in FluidSynth's own block size, so a message waits at most one
    // block of 1.3 ms for its first sample.
    static constexpr int kBlockFrames = 64;
    // What the stream asks of the server: its buffer plus the sink's, 6.7 ms
    // at 48 kHz (5.3 ms underran on a busy two-core machine).
    static constexpr int kLatencyFrames = 320;
    // The server's period where the stream may ask for it (PipeWire): two
    // blocks, 2.7 ms.
    static constexpr int kQuantumFrames = 128;

    // An empty path searches the usual places (findGmSoundFont).
    explicit BuiltinSynth(std::string soundFontPath = {}, SynthEngine::Config config = {});
    ~BuiltinSynth();
    BuiltinSynth(const BuiltinSynth&) = delete;
    BuiltinSynth& operator=(const BuiltinSynth&) = delete;

    // 0 when a port may send; MidiNoDriver when there is no usable SoundFont
    // or no sound server.  Each successful open needs one close().
    int open();
    // Stops every sound once the last port is closed.
    void close();
    void play(const ShortMessage& message);

    // Waits (without spinning) until the SoundFont is loaded or failed;
    // true when loaded.
    bool waitUntilReady(Clock::time_point deadline);
    // Waits until every message sent so far has reached the synthesiser;
    // false on timeout.
    bool drain(Clock::time_point deadline);
    int activeVoices() const;
    // The synthesiser after the first open.
    SynthEngine* engine() { return engine_.get(); }
    std::string soundFontPath() const;
    int openPorts() const;
    // The stream's latency as the sound server last reported it, plus one
    // block; negative until the server has reported it.
    double outputLatencyMs() const;
    // Whether the stream is feeding the server now.
    bool streaming() const { return streaming_; }

private:
    enum class FontState { NotLoaded, Loading, Ready, Failed };
    enum class Output { None, Wanted, Up, Failed };
    struct Pending {
        Clock::time_point sent;
        bool soundOff; // true: silence everything (a port closed)
        ShortMessage message;
        std::optional<Clock::time_point> due;
    };

    void startWorker();
    void wakeWorker();
    void run();
    bool connectStream(std::chrono::seconds timeout);
    void reconnect(Clock::time_point now);
    std::optional<Clock::time_point> deliverDue(std::unique_lock<std::mutex>& lock);
    void playNow(const Pending& pending);
    void renderBlock(float* interleaved, int frames);
    void tendStream();
    void wait(std::optional<Clock::time_point> until);

    std::string fontPath_;
    SynthEngine::Config config_;
    std::unique_ptr<SynthEngine> engine_;
    pa_mainloop* loop_;
    int wakeFd_;
    pa_io_event* wakeEvent_ = nullptr;
    std::thread worker_;

    // Only the worker touches these.
    std::unique_ptr<PulseStream> stream_;
    DeliverySchedule schedule_;
    SilenceGate gate_;
    OnsetProbe onsets_;
    bool played_ = false; // messages were played since the stream was last tended
    bool silent_ = false; // the gate found the output silent
    bool lost_ = false;   // the server went away after the stream was up
    Clock::time_point retryAt_{};
    Clock::time_point latencyAsked_{};

    std::atomic<bool> streaming_{false};
    std::atomic<long long> latencyUs_{-1};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pending> queue_;
    FontState font_ = FontState::NotLoaded;
    Output output_ = Output::None;
    int ports_ = 0;
    bool stopping_ = false;
    bool inFlight_ = false; // the worker is handing a message to the synthesiser
};

} // namespace platform::midi

#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/midi/DeliverySchedule.h"
#include "platform/midi/ShortMessageDecoder.h"
#include "platform/midi/SynthEngine.h"

namespace platform::midi {

// The built-in General MIDI synthesiser as a device that ports open and
// close.  Opening starts the audio output at once (so a missing SoundFont or
// audio output is reported by the open) and loads the SoundFont on the
// device's own thread, so the caller is never held up by the disk.  Every
// message goes through that thread in order; messages sent while the font is
// still loading are kept and played when it is ready, with their spacing.
// The synthesiser outlives close/open pairs, so reopening is cheap; the
// audio output is let go after a while without any open port.
class BuiltinSynth {
public:
    using Clock = std::chrono::steady_clock;

    // None keeps the synthesiser silent (tests of the device's behaviour).
    enum class Audio { Driver, None };

    // An empty path searches the usual places (findGmSoundFont).
    explicit BuiltinSynth(std::string soundFontPath = {}, SynthEngine::Config config = {},
                          Audio audio = Audio::Driver);
    ~BuiltinSynth();
    BuiltinSynth(const BuiltinSynth&) = delete;
    BuiltinSynth& operator=(const BuiltinSynth&) = delete;

    // 0 when a port may send; MidiNoDriver when there is no usable SoundFont
    // or no audio output.  Each successful open needs one close().
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
    // The synthesiser after the first open; with Audio::None the caller
    // renders it offline.
    SynthEngine* engine() { return engine_.get(); }
    double configuredLatencyMs() const;
    std::string audioDriverName() const;
    std::string soundFontPath() const;
    int openPorts() const;

    // How long the audio output stays up with no port open.
    static constexpr std::chrono::seconds kIdleRelease{5};

private:
    enum class FontState { NotLoaded, Loading, Ready, Failed };
    struct Pending {
        Clock::time_point sent;
        bool soundOff; // true: silence everything (a port closed)
        ShortMessage message;
    };

    void run();
    void deliver(std::unique_lock<std::mutex>& lock);

    std::string fontPath_;
    SynthEngine::Config config_;
    Audio audio_;
    std::unique_ptr<SynthEngine> engine_;
    std::thread worker_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Pending> queue_;
    FontState font_ = FontState::NotLoaded;
    int ports_ = 0;
    bool stopping_ = false;
    bool inFlight_ = false; // the worker is handing a message to the synthesiser
    Clock::time_point idleSince_{};
};

} // namespace platform::midi

#pragma once
#include <string_view>

namespace platform::midi {

// What resting a playback stream asks of the sound server; PulseStream does
// it with libpulse, the tests with a fake.
class ServerStream {
public:
    virtual ~ServerStream() = default;
    // A new stream on the server, playing or corked; false when refused.
    virtual bool create(bool corked) = 0;
    virtual void remove() = 0;
    // Corking also drops what is still buffered (silence by then), so the
    // next sound is not queued behind it.
    virtual void setCorked(bool corked) = 0;
};

// How the synthesiser's stream rests while nothing sounds, chosen by the
// server that plays it.
//  - PulseAudio: no stream at all.  Even a corked one holds the sink at our
//    few milliseconds of latency, waking the server hundreds of times a
//    second, and a new stream is one quick round trip.
//  - PipeWire (through its PulseAudio service): a corked stream.  It costs
//    nothing while corked, but a new stream waits for the session manager
//    to link it into the graph, tens of milliseconds on a busy machine,
//    where uncorking only restarts the graph.
class IdleStrategy {
public:
    enum class Rest { Remove, Cork };

    // From the name the server gives in its information: "pulseaudio", or
    // "PulseAudio (on PipeWire 0.3.65)".
    static Rest forServer(std::string_view serverName);

    explicit IdleStrategy(Rest rest) : rest_(rest) {}
    Rest rest() const { return rest_; }

    // The stream created corked to prove the format has been taken: it
    // becomes the resting stream, or goes.
    void proved(ServerStream& stream) const;
    // From rest to playing; false when the server refused a new stream.
    bool start(ServerStream& stream) const;
    void stop(ServerStream& stream) const;

private:
    Rest rest_;
};

} // namespace platform::midi

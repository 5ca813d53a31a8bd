#include <gtest/gtest.h>

#include <string>

#include "platform/midi/IdleStrategy.h"

using namespace platform::midi;

namespace {

// Writes down what the strategy asks of the server, as a server would see it.
class FakeStream : public ServerStream {
public:
    bool refuse = false; // the server refuses new streams
    std::string calls;
    bool exists = false;
    bool corked = false;

    bool create(bool startCorked) override
    {
        calls += startCorked ? "create-corked " : "create ";
        if (refuse)
            return false;
        exists = true;
        corked = startCorked;
        return true;
    }
    void remove() override
    {
        calls += "remove ";
        exists = false;
    }
    void setCorked(bool cork) override
    {
        calls += cork ? "cork " : "uncork ";
        corked = cork;
    }
};

} // namespace

TEST(PulseIdleStrategy, EachServerRestsItsOwnWay)
{
    using Rest = IdleStrategy::Rest;
    struct Case {
        const char* serverName;
        Rest rest;
        const char* calls; // connect's trial stream, then start, stop, start
        bool restingStreamOnServer;
    } cases[] = {
        {"pulseaudio", Rest::Remove, "create-corked remove create remove create ", false},
        {"PulseAudio (on PipeWire 0.3.65)", Rest::Cork, "create-corked uncork cork uncork ", true},
        {"PulseAudio (on PipeWire 1.2.7)", Rest::Cork, "create-corked uncork cork uncork ", true},
        {"", Rest::Remove, "create-corked remove create remove create ", false}, // no name given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.serverName);
        const IdleStrategy idle(IdleStrategy::forServer(c.serverName));
        EXPECT_EQ(idle.rest(), c.rest);

        FakeStream stream;
        ASSERT_TRUE(stream.create(true));
        idle.proved(stream);
        EXPECT_EQ(stream.exists, c.restingStreamOnServer) << "at rest after connecting";
        EXPECT_TRUE(idle.start(stream));
        EXPECT_TRUE(stream.exists && !stream.corked) << "playing";
        idle.stop(stream);
        EXPECT_EQ(stream.exists, c.restingStreamOnServer) << "at rest after playing";
        EXPECT_TRUE(!stream.exists || stream.corked) << "nothing is fed while at rest";
        EXPECT_TRUE(idle.start(stream));
        EXPECT_TRUE(stream.exists && !stream.corked) << "playing again";
        EXPECT_EQ(stream.calls, c.calls);
    }
}

TEST(PulseIdleStrategy, AStartTheServerRefusesIsReported)
{
    // Removed to rest, the stream must be created again, which a server
    // that is going away refuses.
    FakeStream stream;
    const IdleStrategy idle(IdleStrategy::Rest::Remove);
    ASSERT_TRUE(stream.create(true));
    idle.proved(stream);
    stream.refuse = true;
    EXPECT_FALSE(idle.start(stream));
    EXPECT_FALSE(stream.exists);
}

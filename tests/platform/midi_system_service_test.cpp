#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "platform/midi/MidiMessage.h"
#include "platform/midi/SystemMidiService.h"

using namespace platform::midi;

namespace {

struct FakePortLog {
    std::vector<std::string> opened;
    std::vector<std::uint32_t> sent;
};

class FakePort : public MidiPort {
public:
    explicit FakePort(FakePortLog& log) : log_(log) {}
    void sendShortMessage(std::uint32_t packed) override { log_.sent.push_back(packed); }

private:
    FakePortLog& log_;
};

// Stands in for the sequencer: a fixed list of port names.
class FakeSequencer : public SequencerPorts {
public:
    FakeSequencer(std::vector<std::string> names, FakePortLog& log) : names_(std::move(names)), log_(log) {}
    std::vector<std::string> list() override { return names_; }
    std::unique_ptr<MidiPort> open(const std::string& name, int& result) override
    {
        if (gone.count(name)) {
            result = MidiBadDevice;
            return nullptr;
        }
        log_.opened.push_back(name);
        result = MidiOk;
        return std::make_unique<FakePort>(log_);
    }
    std::set<std::string> gone;

private:
    std::vector<std::string> names_;
    FakePortLog& log_;
};

constexpr const char* kNoFont = "/nonexistent/no.sf2";

} // namespace

TEST(SystemMidiService, BuiltinSynthesiserFirstThenSequencerPorts)
{
    FakePortLog log;
    const std::string longName = "Very Long Synthesizer Client Name:Port 0 128:0";
    SystemMidiService service(kNoFont, std::make_unique<FakeSequencer>(
                                           std::vector<std::string>{"Midi Through:Midi Through Port-0 14:0", longName},
                                           log));
    EXPECT_EQ(service.deviceCount(), 3);
    EXPECT_EQ(service.productName(MidiMapper), SystemMidiService::kMapperName);
    EXPECT_EQ(service.productName(0), SystemMidiService::kBuiltinName);
    EXPECT_EQ(service.productName(1), "Midi Through:Midi Through Port-");
    EXPECT_EQ(service.productName(2), longName.substr(0, 31));
    EXPECT_EQ(service.productName(3), "");
    EXPECT_EQ(service.productName(-2), "");
    for (int device = -1; device < 3; ++device)
        EXPECT_LE(service.productName(device).size(), 31u);
}

TEST(SystemMidiService, OpensSequencerPortsByListPosition)
{
    FakePortLog log;
    auto sequencer = std::make_unique<FakeSequencer>(std::vector<std::string>{"A:a 20:0", "B:b 21:0"}, log);
    FakeSequencer* fake = sequencer.get();
    SystemMidiService service(kNoFont, std::move(sequencer));
    ASSERT_EQ(service.deviceCount(), 3);

    int result = -1;
    auto port = service.open(2, result);
    ASSERT_EQ(result, MidiOk);
    ASSERT_TRUE(port);
    port->sendShortMessage(0x7F3C90);
    EXPECT_EQ(log.opened, std::vector<std::string>{"B:b 21:0"});
    EXPECT_EQ(log.sent, std::vector<std::uint32_t>{0x7F3C90});

    fake->gone.insert("A:a 20:0"); // unplugged after the list was read
    EXPECT_FALSE(service.open(1, result));
    EXPECT_EQ(result, MidiBadDevice);
    EXPECT_FALSE(service.open(3, result));
    EXPECT_EQ(result, MidiBadDevice);
}

TEST(SystemMidiService, SynthesiserWithoutSoundFontFailsQuickly)
{
    FakePortLog log;
    SystemMidiService service(kNoFont, std::make_unique<FakeSequencer>(std::vector<std::string>{}, log));
    for (int device : {MidiMapper, 0}) {
        const auto start = std::chrono::steady_clock::now();
        int result = MidiOk;
        EXPECT_FALSE(service.open(device, result));
        EXPECT_EQ(result, MidiNoDriver);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
}

TEST(SystemMidiService, RealSequencerListIsQuietAndSafeWithoutOne)
{
    SequencerPorts ports;
    const auto names = ports.list();
    if (!SequencerPorts::sequencerAvailable()) {
        EXPECT_TRUE(names.empty());
    }
    int result = MidiOk;
    EXPECT_FALSE(ports.open("no such port 99:0", result));
    EXPECT_NE(result, MidiOk);
}

TEST(SystemMidiService, NamesAreCutToThirtyOneCharactersOnCharacterBoundaries)
{
    struct Case {
        std::string name, cut;
    } cases[] = {
        {"", ""},
        {"Short", "Short"},
        {std::string(31, 'a'), std::string(31, 'a')},
        {std::string(40, 'b'), std::string(31, 'b')},
        // "é" is two bytes; the 31-byte cut would split it.
        {std::string(30, 'c') + "\xC3\xA9xyz", std::string(30, 'c')},
        {std::string(29, 'd') + "\xC3\xA9xyz", std::string(29, 'd') + "\xC3\xA9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SystemMidiService::cutName(c.name), c.cut) << c.name;
}

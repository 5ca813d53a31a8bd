#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>
#include <tuple>

#include "notivo/editor/EditorMidi.h"
#include "notivo/editor/PlaybackEngine.h"
#include "notivo/score/ScoreExport.h"
#include "platform/midi/MidiMessage.h"
#include "tests/support/RecorderMidi.h"
#include "play_fakes.h"
#include "tests/notivo/score/ExportScores.h"
#include "tests/support/ExternalReaders.h"

using namespace notivo;
using namespace notivo::playtest;

namespace {

// Sends what a run plays through the editor's MIDI device, noting the run's
// own (fake) time of every message the device passes on.
class DeviceOutput : public RecordingOutput {
public:
    DeviceOutput(FakeClock& clock, EditorMidi& midi, platform::midi::RecorderMidiService& device)
        : RecordingOutput(clock), clock_(clock), midi_(midi), device_(device)
    {
    }
    void NoteOn(int v, NoteHolder holder) override { midi_.NoteOn(v, holder); note(); }
    void NoteOff(int v, NoteHolder holder) override { midi_.NoteOff(v, holder); note(); }
    void note()
    {
        const std::vector<std::uint32_t> all = device_.packedMessages();
        for (std::size_t i = seen_; i < all.size(); ++i)
            sent.push_back({double(clock_.ms()), all[i]});
        seen_ = all.size();
    }
    std::vector<std::pair<double, std::uint32_t>> sent; // ms, packed

private:
    FakeClock& clock_;
    EditorMidi& midi_;
    platform::midi::RecorderMidiService& device_;
    std::size_t seen_ = 0;
};

// What a listener hears: each key's soundings (a note-on while the key
// sounds strikes it again; a note-off of a silent key changes nothing),
// and the program chosen.
struct Sounding {
    double from, to;
    int channel, key;
};
struct Heard {
    std::vector<Sounding> notes;
    std::vector<std::uint32_t> choices; // bank selects and program changes
};

Heard hear(const std::vector<std::pair<double, std::uint32_t>>& messages)
{
    using namespace platform::midi;
    Heard heard;
    std::map<std::pair<int, int>, double> on;
    for (const auto& [ms, packed] : messages) {
        const int kind = statusOf(packed) & 0xF0;
        const std::pair<int, int> address{statusOf(packed) & 0x0F, data1Of(packed)};
        const bool noteOn = kind == 0x90 && data2Of(packed) > 0;
        if (kind == 0x80 || kind == 0x90) {
            if (auto it = on.find(address); it != on.end()) {
                heard.notes.push_back({it->second, ms, address.first, address.second});
                on.erase(it);
            }
            if (noteOn)
                on[address] = ms;
        } else {
            heard.choices.push_back(packed);
        }
    }
    EXPECT_TRUE(on.empty()) << "a note is left sounding";
    std::sort(heard.notes.begin(), heard.notes.end(), [](const Sounding& a, const Sounding& b) {
        return std::tie(a.from, a.channel, a.key) < std::tie(b.from, b.channel, b.key);
    });
    return heard;
}

std::vector<std::pair<double, std::uint32_t>> fromFile(const readers::MidoFile& file)
{
    std::vector<std::pair<double, std::uint32_t>> messages;
    for (const readers::MidoEvent& e : file.events) {
        const int status = e.type == QLatin1String("note_on")          ? 0x90
                           : e.type == QLatin1String("note_off")       ? 0x80
                           : e.type == QLatin1String("control_change") ? 0xB0
                                                                       : 0xC0;
        messages.push_back({e.seconds * 1000, platform::midi::packShortMessage(status + e.channel, e.data1, e.data2)});
    }
    return messages;
}

TEST(ExportMatchesPlay, TheFileSoundsWhatPlaySendsWithinAMillisecond)
{
    for (int instrument : {0, 73, 128}) { // piano, flute, a drum on channel 10
        for (int tempo : {110, 0, 180}) {
            SCOPED_TRACE(testing::Message() << "instrument " << instrument << ", tempo " << tempo);
            platform::midi::RecorderMidiService device(1);
            platform::midi::installMidiService(&device);
            Score score;
            exportscores::fillSmallScore(score);
            FakeClock clock;
            EditorMidi midi;
            ASSERT_TRUE(midi.openFirstDevice());
            DeviceOutput out(clock, midi, device);
            out.tempo = tempo;
            PlaybackEngine engine(score, out, clock);
            midi.SetInstrument(instrument); // the instrument list's choice, before Play
            out.note();
            engine.togglePlay();
            clock.run(); // the whole run, on the fake clock
            midi.close();
            platform::midi::installMidiService(nullptr);

            QTemporaryDir folder;
            const QString path = folder.filePath(QStringLiteral("run.mid"));
            ASSERT_TRUE(exportScore(score, path, FileFormat::Midi, {tempo, instrument}));
            const readers::MidoFile file = readers::readWithMido(path);
            ASSERT_TRUE(file.read) << file.problem.toStdString();

            const Heard played = hear(out.sent);
            const Heard written = hear(fromFile(file));
            EXPECT_EQ(written.choices, played.choices);
            ASSERT_EQ(written.notes.size(), played.notes.size());
            ASSERT_FALSE(played.notes.empty());
            for (std::size_t i = 0; i < played.notes.size(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_NEAR(written.notes[i].from, played.notes[i].from, 1.0);
                EXPECT_NEAR(written.notes[i].to, played.notes[i].to, 1.0);
                EXPECT_EQ(written.notes[i].channel, played.notes[i].channel);
                EXPECT_EQ(written.notes[i].key, played.notes[i].key);
            }
        }
    }
}

} // namespace

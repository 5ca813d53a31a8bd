#include "notivo/score/MidiImport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "notivo/score/ColumnAssembly.h"
#include "notivo/score/NoteValues.h"
#include "platform/midi/MidiFileReader.h"
#include "platform/midi/MidiMessage.h"

namespace notivo {
namespace {

using platform::midi::MidiFileContents;

struct Played {
    std::int64_t startTick;
    std::int64_t endTick;
    int key;
};

// Every pitched note of every track, from note-on to note-off.  A key struck
// again before its note-off ends the note it was sounding; a note left
// sounding ends with its track.
std::vector<Played> playedNotes(const MidiFileContents& file, ImportReport& report)
{
    std::vector<Played> played;
    std::array<std::int64_t, 16 * 128> sounding; // start tick by channel and key; -1 when silent
    sounding.fill(-1);
    std::vector<std::size_t> struck;             // the slots a track has used, to end them with it
    for (const platform::midi::MidiFileTrack& track : file.tracks) {
        std::int64_t last = track.endTick;
        auto end = [&](std::size_t slot, std::int64_t tick) {
            if (sounding[slot] >= 0)
                played.push_back({sounding[slot], tick, int(slot % 128)});
            sounding[slot] = -1;
        };
        for (const platform::midi::MidiFileEvent& e : track.events) {
            const int status = platform::midi::statusOf(e.packed);
            const int kind = status & 0xF0;
            const int channel = status & 0x0F;
            const bool on = kind == 0x90 && platform::midi::data2Of(e.packed) > 0;
            if (!on && kind != 0x80 && kind != 0x90)
                continue;
            if (channel == platform::midi::PercussionChannel) {
                if (on)
                    report.count(ImportReport::PercussionNotes);
                continue;
            }
            const std::size_t slot = std::size_t(channel) * 128 + std::size_t(platform::midi::data1Of(e.packed));
            end(slot, e.tick);
            if (on) {
                sounding[slot] = e.tick;
                struck.push_back(slot);
            }
            last = std::max(last, e.tick);
        }
        for (std::size_t slot : struck)
            end(slot, last);
        struck.clear();
    }
    return played;
}

} // namespace

ImportResult readMidiFile(QByteArrayView bytes, Score& score)
{
    const platform::midi::MidiFileReadResult file = platform::midi::readStandardMidiFile(bytes);
    if (!file)
        return {false, file.error, {}};
    ImportReport report;
    const std::vector<Played> played = playedNotes(file.contents, report);

    // Semiquavers of the notation, from the quarter notes of the tempo map.
    auto semiquaver = [&file](std::int64_t tick) { return std::llrint(file.contents.tempo.quarters(tick) * 4); };
    std::vector<TimedNote> notes;
    notes.reserve(played.size());
    for (const Played& p : played) {
        // Natural, or else the sharp: every key has one of the two.
        const auto spellings = spellingsOf(p.key);
        const Spelling spelling = spellings[0] ? *spellings[0] : *spellings[1];
        const double start = double(semiquaver(p.startTick));
        notes.push_back({start, double(semiquaver(p.endTick)), NoteId::Empty, spelling.position, spelling.accidental});
    }
    std::vector<double> onsets;
    for (const TimedNote& n : notes)
        onsets.push_back(n.start);
    std::sort(onsets.begin(), onsets.end());
    onsets.erase(std::unique(onsets.begin(), onsets.end()), onsets.end());
    for (TimedNote& n : notes) {
        // A note sounds at least a semiquaver, and only until the next column starts.
        const auto next = std::upper_bound(onsets.begin(), onsets.end(), n.start);
        n.end = std::max(n.end, n.start + 1);
        if (next != onsets.end())
            n.end = std::min(n.end, *next);
        n.id = nearestNoteValue(n.end - n.start);
    }
    assembleColumns(std::move(notes), {}, LeftoverSemiquaver::Nothing, score, report);
    return {true, {}, report.text()};
}

} // namespace notivo

#include "notivo/score/MidiExport.h"

#include "notivo/score/InstrumentMessages.h"
#include "notivo/score/InstrumentNames.h"
#include "notivo/score/PassRules.h"
#include "notivo/score/ScoreExport.h"

namespace notivo {
namespace {
constexpr int ScoreChannel = 0; // the editor plays on the first channel
}

TimedPerformance performedMessages(const Score& score, const ExportSettings& settings)
{
    TimedPerformance performance;
    for (std::uint32_t message : instrumentSelection(settings.instrument, ScoreChannel))
        performance.messages.push_back({0, message});
    const bool drum = isDrumEntry(settings.instrument);
    const int drumKey = drumKeyOf(settings.instrument);
    const Performance run = performRun(score, unitMilliseconds(settings.tempoValue));
    for (const PerformedNote& note : run.notes) {
        const NoteAddress address = noteAddress(note.value, ScoreChannel, drum, drumKey);
        performance.messages.push_back(
            {note.timeMs * 1000, note.on ? noteOnMessage(address) : noteOffMessage(address)});
    }
    performance.endMicroseconds = run.endMs * 1000;
    return performance;
}

QByteArray midiFile(const Score& score, const ExportSettings& settings)
{
    const TimedPerformance performance = performedMessages(score, settings);
    return platform::midi::standardMidiFile(instrumentName(settings.instrument), performance.messages,
                                            performance.endMicroseconds);
}

} // namespace notivo

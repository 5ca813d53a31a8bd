#include "platform/midi/StandardMidiFile.h"

#include "platform/chrome/Rounding.h"
#include "platform/midi/MidiMessage.h"

#include <algorithm>

namespace platform::midi {
namespace {

void putBigEndian(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

// MIDI's variable-length quantity: seven bits a byte, most significant first.
void putVariableLength(QByteArray& out, std::uint32_t value)
{
    char bytes[5];
    int n = 0;
    do {
        bytes[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.append(static_cast<char>(bytes[--n] | 0x80));
    out.append(bytes[0]);
}

void putMeta(QByteArray& track, int type, const QByteArray& data)
{
    putVariableLength(track, 0);
    track.append(static_cast<char>(0xFF));
    track.append(static_cast<char>(type));
    putVariableLength(track, static_cast<std::uint32_t>(data.size()));
    track.append(data);
}

bool isChannelMessage(int status) { return status >= 0x80 && status < 0xF0; }

} // namespace

std::int64_t smfTicks(std::int64_t microseconds)
{
    // A delta time has at most four bytes of seven bits; a time beyond that
    // (38 hours) stays at the last tick a file can express.
    constexpr std::int64_t LastTick = 0x0FFFFFFF;
    const double ticks = double(std::max<std::int64_t>(microseconds, 0)) * SmfTicksPerQuarter / SmfMicrosecondsPerQuarter;
    return std::min<std::int64_t>(roundHalfEven(std::min(ticks, double(LastTick))), LastTick);
}

QByteArray standardMidiFile(const QString& trackName, const std::vector<TimedMessage>& messages,
                            std::int64_t endMicroseconds)
{
    std::vector<TimedMessage> ordered(messages);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.microseconds < b.microseconds; });

    QByteArray track;
    putMeta(track, 0x03, trackName.toUtf8());
    QByteArray tempo;
    putBigEndian(tempo, SmfMicrosecondsPerQuarter, 3);
    putMeta(track, 0x51, tempo);

    std::int64_t lastTick = 0;
    for (const TimedMessage& m : ordered) {
        const int status = statusOf(m.packed);
        if (!isChannelMessage(status))
            continue;
        const std::int64_t tick = smfTicks(m.microseconds);
        putVariableLength(track, static_cast<std::uint32_t>(tick - lastTick));
        lastTick = tick;
        track.append(static_cast<char>(status));
        const int length = dataLength(status);
        if (length >= 1)
            track.append(static_cast<char>(data1Of(m.packed) & 0x7F));
        if (length >= 2)
            track.append(static_cast<char>(data2Of(m.packed) & 0x7F));
    }
    const std::int64_t endTick = std::max(lastTick, smfTicks(endMicroseconds));
    putVariableLength(track, static_cast<std::uint32_t>(endTick - lastTick));
    track.append("\xFF\x2F\x00", 3);

    QByteArray file("MThd", 4);
    putBigEndian(file, 6, 4);
    putBigEndian(file, 0, 2); // format 0
    putBigEndian(file, 1, 2); // one track
    putBigEndian(file, SmfTicksPerQuarter, 2);
    file.append("MTrk", 4);
    putBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    file.append(track);
    return file;
}

} // namespace platform::midi

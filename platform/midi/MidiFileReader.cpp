#include "platform/midi/MidiFileReader.h"

#include "platform/midi/MidiMessage.h"

#include <algorithm>
#include <optional>

namespace platform::midi {
namespace {

constexpr std::uint32_t DefaultMicrosecondsPerQuarter = 500000; // 120 quarters a minute

// A cursor over the bytes of one chunk; every read says whether the bytes were there.
class Bytes {
public:
    Bytes(const char* data, qsizetype size) : data_(reinterpret_cast<const unsigned char*>(data)), size_(size) {}

    bool atEnd() const { return at_ >= size_; }
    qsizetype remaining() const { return size_ - at_; }
    qsizetype offset() const { return at_; }

    std::optional<int> byte()
    {
        if (at_ >= size_)
            return std::nullopt;
        return data_[at_++];
    }
    std::optional<std::uint32_t> bigEndian(int count)
    {
        if (remaining() < count)
            return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | data_[at_++];
        return value;
    }
    // MIDI's variable-length quantity: at most four bytes of seven bits.
    std::optional<std::uint32_t> variableLength()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::optional<int> b = byte();
            if (!b)
                return std::nullopt;
            value = value << 7 | std::uint32_t(*b & 0x7F);
            if (!(*b & 0x80))
                return value;
        }
        return std::nullopt;
    }
    const unsigned char* skip(qsizetype count)
    {
        if (count < 0 || remaining() < count)
            return nullptr;
        const unsigned char* start = data_ + at_;
        at_ += count;
        return start;
    }

private:
    const unsigned char* data_;
    qsizetype size_;
    qsizetype at_ = 0;
};

MidiFileReadResult failure(QString error)
{
    MidiFileReadResult result;
    result.error = std::move(error);
    return result;
}

using TempoChanges = std::vector<std::pair<std::int64_t, std::uint32_t>>;

// Reads the events of one track chunk; an empty text when it was sound.
QString readTrack(Bytes track, int number, MidiFileTrack& out, TempoChanges& tempo)
{
    const QString where = QStringLiteral("track %1").arg(number);
    auto pastEnd = [&] { return where + QStringLiteral(" runs past its end"); };
    std::int64_t tick = 0;
    int runningStatus = 0;
    while (!track.atEnd()) {
        const std::optional<std::uint32_t> delta = track.variableLength();
        if (!delta)
            return track.atEnd() ? pastEnd() : where + QStringLiteral(" has a delta time longer than four bytes");
        tick += *delta;
        const qsizetype eventOffset = track.offset();
        const std::optional<int> first = track.byte();
        if (!first)
            return pastEnd();
        int status = *first;
        bool dataAlreadyRead = false;
        if (status < 0x80) {
            // Running status: this byte is the first data byte of a message like the last one.
            if (runningStatus == 0)
                return where + QStringLiteral(" has a data byte without a status at byte %1").arg(eventOffset);
            status = runningStatus;
            dataAlreadyRead = true;
        }
        if (status < 0xF0) {
            runningStatus = status;
            int data[2] = {0, 0};
            const int length = dataLength(status);
            for (int i = 0; i < length; ++i) {
                if (i == 0 && dataAlreadyRead) {
                    data[0] = *first;
                    continue;
                }
                const std::optional<int> b = track.byte();
                if (!b)
                    return pastEnd();
                if (*b >= 0x80)
                    return where + QStringLiteral(" has a message cut short at byte %1").arg(eventOffset);
                data[i] = *b;
            }
            out.events.push_back({tick, packShortMessage(status, data[0], data[1])});
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            const std::optional<std::uint32_t> length = track.variableLength();
            if (!length || !track.skip(qsizetype(*length)))
                return pastEnd();
            continue;
        }
        if (status == 0xFF) {
            const std::optional<int> type = track.byte();
            const std::optional<std::uint32_t> length = type ? track.variableLength() : std::nullopt;
            const unsigned char* data = length ? track.skip(qsizetype(*length)) : nullptr;
            if (!data)
                return pastEnd();
            if (*type == 0x51 && *length == 3) {
                const std::uint32_t microseconds = std::uint32_t(data[0]) << 16 | std::uint32_t(data[1]) << 8 | data[2];
                tempo.emplace_back(tick, microseconds);
            } else if (*type == 0x2F) {
                break; // End of Track: whatever follows in the chunk is not part of it
            }
            continue;
        }
        return where + QStringLiteral(" has the status byte 0x%1, which has no place in a file")
                           .arg(status, 2, 16, QLatin1Char('0'));
    }
    out.endTick = tick;
    return {};
}

bool isChunkType(const unsigned char* type)
{
    return std::all_of(type, type + 4, [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

MidiTempoMap::MidiTempoMap(TempoChanges changes, int ticksPerQuarter, double microsecondsPerTick)
{
    std::stable_sort(changes.begin(), changes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::erase_if(changes, [](const auto& change) { return change.second == 0; });
    stretches_.clear();
    auto add = [&](std::int64_t tick, std::uint32_t microsecondsPerQuarter) {
        Stretch next{tick, 0, 0, 0, 0};
        if (!stretches_.empty()) {
            const Stretch& last = stretches_.back();
            next.microseconds = last.microseconds + double(tick - last.tick) * last.microsecondsPerTick;
            next.quarters = last.quarters + double(tick - last.tick) * last.quartersPerTick;
            if (tick == last.tick)
                stretches_.pop_back(); // a later change at the same tick wins
        }
        if (ticksPerQuarter > 0) {
            next.quartersPerTick = 1.0 / ticksPerQuarter;
            next.microsecondsPerTick = double(microsecondsPerQuarter) / ticksPerQuarter;
        } else {
            next.microsecondsPerTick = microsecondsPerTick;
            next.quartersPerTick = microsecondsPerTick / microsecondsPerQuarter;
        }
        stretches_.push_back(next);
    };
    add(0, DefaultMicrosecondsPerQuarter);
    for (const auto& [tick, microsecondsPerQuarter] : changes)
        add(std::max<std::int64_t>(tick, 0), microsecondsPerQuarter);
}

const MidiTempoMap::Stretch& MidiTempoMap::stretchAt(std::int64_t tick) const
{
    auto after = std::upper_bound(stretches_.begin(), stretches_.end(), tick,
                                  [](std::int64_t t, const Stretch& s) { return t < s.tick; });
    return after == stretches_.begin() ? stretches_.front() : *(after - 1);
}

double MidiTempoMap::microseconds(std::int64_t tick) const
{
    const Stretch& s = stretchAt(tick);
    return s.microseconds + double(tick - s.tick) * s.microsecondsPerTick;
}

double MidiTempoMap::quarters(std::int64_t tick) const
{
    const Stretch& s = stretchAt(tick);
    return s.quarters + double(tick - s.tick) * s.quartersPerTick;
}

MidiFileReadResult readStandardMidiFile(QByteArrayView bytes)
{
    Bytes file(bytes.data(), bytes.size());
    const unsigned char* magic = file.skip(4);
    if (!magic || !std::equal(magic, magic + 4, "MThd"))
        return failure(QStringLiteral("it does not begin with a MIDI header"));
    const std::optional<std::uint32_t> headerLength = file.bigEndian(4);
    if (!headerLength || *headerLength < 6 || file.remaining() < qsizetype(*headerLength))
        return failure(QStringLiteral("its header is cut short"));
    Bytes header(reinterpret_cast<const char*>(file.skip(qsizetype(*headerLength))), qsizetype(*headerLength));
    const int format = int(*header.bigEndian(2));
    const int declaredTracks = int(*header.bigEndian(2));
    const int division = int(*header.bigEndian(2));

    MidiFileReadResult result;
    MidiFileContents& contents = result.contents;
    contents.format = format;
    if (format == 2)
        return failure(QStringLiteral("it is of format 2 (independent sequences); formats 0 and 1 can be read"));
    if (format > 2)
        return failure(QStringLiteral("its header names format %1, which does not exist").arg(format));
    double microsecondsPerTick = 0;
    if (division & 0x8000) {
        const int frames = -static_cast<std::int8_t>(division >> 8);
        contents.ticksPerFrame = division & 0xFF;
        if (frames != 24 && frames != 25 && frames != 29 && frames != 30)
            return failure(QStringLiteral("its header counts %1 SMPTE frames a second").arg(frames));
        if (contents.ticksPerFrame == 0)
            return failure(QStringLiteral("its header has a division of 0 ticks a frame"));
        contents.framesPerSecond = frames;
        const double framesPerSecond = frames == 29 ? 30000.0 / 1001.0 : double(frames);
        microsecondsPerTick = 1e6 / (framesPerSecond * contents.ticksPerFrame);
    } else {
        if (division == 0)
            return failure(QStringLiteral("its header has a division of 0 ticks a quarter note"));
        contents.ticksPerQuarter = division;
    }

    TempoChanges tempo;
    int chunk = 0;
    while (int(contents.tracks.size()) < declaredTracks) {
        ++chunk;
        if (file.atEnd())
            return failure(QStringLiteral("its header declares %1 tracks but it holds %2")
                               .arg(declaredTracks)
                               .arg(contents.tracks.size()));
        const unsigned char* type = file.skip(4);
        const std::optional<std::uint32_t> length = type ? file.bigEndian(4) : std::nullopt;
        if (!length)
            return failure(QStringLiteral("chunk %1 is cut short").arg(chunk));
        if (!isChunkType(type))
            return failure(QStringLiteral("chunk %1 has no chunk type").arg(chunk));
        const unsigned char* body = file.skip(qsizetype(*length));
        if (!body)
            return failure(QStringLiteral("chunk %1 runs past the end of the file").arg(chunk));
        if (!std::equal(type, type + 4, "MTrk"))
            continue; // a chunk of another kind: not ours to read
        MidiFileTrack& track = contents.tracks.emplace_back();
        const QString error = readTrack(Bytes(reinterpret_cast<const char*>(body), qsizetype(*length)),
                                        int(contents.tracks.size()), track, tempo);
        if (!error.isEmpty())
            return failure(error);
    }
    contents.tempo = MidiTempoMap(std::move(tempo), contents.ticksPerQuarter, microsecondsPerTick);
    result.ok = true;
    return result;
}

} // namespace platform::midi

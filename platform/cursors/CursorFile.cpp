#include "platform/cursors/CursorFile.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <optional>

namespace platform::cursors {
namespace {

// Limits that keep a hostile file from costing much: cursor images are at
// most 256 x 256 in the icon format, animations have a few dozen frames.
constexpr int kMaxSide = 256;
constexpr std::uint32_t kMaxFrames = 256;
constexpr std::uint32_t kMaxSteps = 1024;
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
constexpr std::uint32_t kDefaultJiffies = 10; // .ani rates count sixtieths of a second

// Bounds-checked little-endian view of a byte range.
class Bytes {
public:
    Bytes(const char* data, qsizetype size)
        : data_(reinterpret_cast<const unsigned char*>(data))
        , size_(size)
    {
    }
    explicit Bytes(const QByteArray& bytes)
        : Bytes(bytes.constData(), bytes.size())
    {
    }

    qsizetype size() const { return size_; }
    bool has(qsizetype offset, qsizetype count) const
    {
        return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
    }
    std::optional<std::uint8_t> u8(qsizetype offset) const
    {
        if (!has(offset, 1))
            return std::nullopt;
        return data_[offset];
    }
    std::optional<std::uint16_t> u16(qsizetype offset) const
    {
        if (!has(offset, 2))
            return std::nullopt;
        return std::uint16_t(data_[offset] | data_[offset + 1] << 8);
    }
    std::optional<std::uint32_t> u32(qsizetype offset) const
    {
        if (!has(offset, 4))
            return std::nullopt;
        return std::uint32_t(data_[offset]) | std::uint32_t(data_[offset + 1]) << 8
            | std::uint32_t(data_[offset + 2]) << 16 | std::uint32_t(data_[offset + 3]) << 24;
    }
    bool tagIs(qsizetype offset, const char (&tag)[5]) const
    {
        return has(offset, 4) && std::equal(tag, tag + 4, data_ + offset);
    }
    // A sub-range, or an empty view when it does not fit.
    Bytes slice(qsizetype offset, qsizetype count) const
    {
        if (!has(offset, count))
            return Bytes(nullptr, 0);
        return Bytes(reinterpret_cast<const char*>(data_ + offset), count);
    }
    const unsigned char* at(qsizetype offset) const { return data_ + offset; }

private:
    const unsigned char* data_;
    qsizetype size_;
};

struct DirEntry {
    int width = 0;
    int height = 0;
    QPoint hotSpot;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

std::optional<QImage> decodePng(const Bytes& data)
{
    // Check the declared size before decoding, so a tiny file cannot ask
    // for a huge image.
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!data.has(0, 24) || !std::equal(signature, signature + 8, data.at(0)) || !data.tagIs(12, "IHDR"))
        return std::nullopt;
    auto be32 = [&](qsizetype o) {
        return std::uint32_t(*data.at(o)) << 24 | std::uint32_t(*data.at(o + 1)) << 16
            | std::uint32_t(*data.at(o + 2)) << 8 | std::uint32_t(*data.at(o + 3));
    };
    const std::uint32_t w = be32(16), h = be32(20);
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide)
        return std::nullopt;
    QImage image = QImage::fromData(data.at(0), int(data.size()), "PNG");
    if (image.isNull() || image.width() != int(w) || image.height() != int(h))
        return std::nullopt;
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The header of a device-independent bitmap as stored in icon files.
struct DibHeader {
    std::uint32_t size = 0;
    int width = 0;
    int height = 0; // of the image: the stored height covers the colour rows and the mask rows
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
};

std::optional<DibHeader> readDibHeader(const Bytes& data)
{
    const auto headerSize = data.u32(0);
    const auto width = data.u32(4);
    const auto doubledHeight = data.u32(8);
    const auto bitCount = data.u16(14);
    const auto compression = data.u32(16);
    const auto colorsUsed = data.u32(32);
    if (!headerSize || *headerSize < 40 || !data.has(0, *headerSize) || !colorsUsed)
        return std::nullopt;
    // A negative (top-down) height is not used in icon files.
    const std::int32_t heightField = std::int32_t(*doubledHeight);
    const std::int32_t widthField = std::int32_t(*width);
    if (widthField <= 0 || widthField > kMaxSide || heightField < 2 || heightField / 2 > kMaxSide)
        return std::nullopt;
    const int bpp = *bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return std::nullopt;
    if (*compression != 0 && !(bpp == 32 && *compression == 3))
        return std::nullopt;
    return DibHeader{*headerSize, widthField, heightField / 2, bpp, *compression, *colorsUsed};
}

// Reads the palette of an image of up to 8 bits a pixel into `palette` and
// returns where the colour rows begin; nothing when the file is cut short.
std::optional<qsizetype> readPalette(const Bytes& data, const DibHeader& header, QRgb (&palette)[256])
{
    qsizetype pos = header.size;
    if (header.bitCount <= 8) {
        const std::uint32_t full = 1u << header.bitCount;
        const std::uint32_t count = (header.colorsUsed == 0 || header.colorsUsed > full) ? full : header.colorsUsed;
        if (!data.has(pos, qsizetype(count) * 4))
            return std::nullopt;
        for (std::uint32_t i = 0; i < count; ++i) {
            const unsigned char* c = data.at(pos + 4 * i);
            palette[i] = qRgb(c[2], c[1], c[0]);
        }
        pos += qsizetype(count) * 4;
    } else if (header.compression == 3 && header.size == 40) {
        // The three channel masks follow a short header (longer headers
        // hold them inside); the channels are taken as BGRA.
        pos += 12;
    }
    return pos;
}

// The colour rows (bottom-up, from `pos`) into `image`; true when a 32-bit
// image carries any alpha of its own.
bool readColourRows(const Bytes& data, const DibHeader& header, qsizetype pos, qsizetype stride,
                    const QRgb (&palette)[256], QImage& image)
{
    const int w = header.width;
    const int h = header.height;
    bool anyAlpha = false;
    for (int y = 0; y < h; ++y) {
        const unsigned char* src = data.at(pos + stride * (h - 1 - y));
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (header.bitCount) {
            case 1: out[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(src[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: out[x] = palette[src[x]]; break;
            case 24: out[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            default:
                out[x] = qRgba(src[4 * x + 2], src[4 * x + 1], src[4 * x], src[4 * x + 3]);
                anyAlpha = anyAlpha || src[4 * x + 3] != 0;
                break;
            }
        }
    }
    return anyAlpha;
}

// The 1-bit AND mask (bottom-up, from `pos`) makes the shape of `image`.
void applyAndMask(const Bytes& data, qsizetype pos, qsizetype stride, QImage& image)
{
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        const unsigned char* mask = data.at(pos + stride * (h - 1 - y));
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const bool screen = (mask[x / 8] >> (7 - x % 8)) & 1;
            if (!screen) {
                out[x] |= 0xFF000000u;
            } else if ((out[x] & 0x00FFFFFFu) == 0) {
                out[x] = 0; // transparent
            } else {
                // Mask set over a coloured pixel inverts the screen there;
                // an image cannot invert, so it shows as black ink, which
                // reads on the light backgrounds it is used over.
                out[x] = 0xFF000000u;
            }
        }
    }
}

// A device-independent bitmap as stored in icon files: header, palette,
// colour rows and the 1-bit AND mask, both bottom-up.
std::optional<QImage> decodeDib(const Bytes& data)
{
    const std::optional<DibHeader> header = readDibHeader(data);
    if (!header)
        return std::nullopt;
    QRgb palette[256] = {};
    const std::optional<qsizetype> pos = readPalette(data, *header, palette);
    if (!pos)
        return std::nullopt;

    const int w = header->width;
    const int h = header->height;
    const qsizetype colourStride = ((qsizetype(w) * header->bitCount + 31) / 32) * 4;
    const qsizetype maskStride = ((qsizetype(w) + 31) / 32) * 4;
    if (!data.has(*pos, colourStride * h))
        return std::nullopt;
    const qsizetype maskPos = *pos + colourStride * h;
    const bool hasMask = data.has(maskPos, maskStride * h);

    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull())
        return std::nullopt;
    const bool anyAlpha = readColourRows(data, *header, *pos, colourStride, palette, image);
    if (header->bitCount == 32 && anyAlpha)
        return image; // the alpha channel is the shape
    if (!hasMask)
        return std::nullopt;
    applyAndMask(data, maskPos, maskStride, image);
    return image;
}

// The entry closest to the standard 32 x 32 cursor size (the first of equals).
std::optional<DirEntry> pickEntry(const Bytes& file, int count)
{
    std::optional<DirEntry> best;
    int bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype e = 6 + 16 * qsizetype(i);
        const auto w = file.u8(e), h = file.u8(e + 1);
        const auto hx = file.u16(e + 4), hy = file.u16(e + 6);
        const auto size = file.u32(e + 8), offset = file.u32(e + 12);
        if (!offset) // the entry's last field: the whole entry is there
            return std::nullopt;
        DirEntry entry;
        entry.width = *w ? *w : 256;
        entry.height = *h ? *h : 256;
        entry.hotSpot = QPoint(*hx, *hy);
        entry.size = *size;
        entry.offset = *offset;
        const int distance = std::abs(entry.width - 32) + std::abs(entry.height - 32);
        if (!best || distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<CursorFrame> readCurFrame(const Bytes& file)
{
    const auto reserved = file.u16(0), type = file.u16(2), count = file.u16(4);
    // Type 2 is a cursor; type 1 (an icon) is accepted too, with its hot
    // spot at the top left.
    if (!count || *reserved != 0 || (*type != 1 && *type != 2) || *count == 0)
        return std::nullopt;
    const auto entry = pickEntry(file, *count);
    if (!entry)
        return std::nullopt;
    const Bytes data = file.slice(entry->offset, entry->size);
    if (data.size() == 0)
        return std::nullopt;
    std::optional<QImage> image = data.tagIs(1, "PNG\r") ? decodePng(data) : decodeDib(data);
    if (!image)
        return std::nullopt;
    CursorFrame frame;
    frame.image = std::move(*image);
    if (*type == 2) {
        frame.hotSpot = QPoint(std::clamp(entry->hotSpot.x(), 0, frame.image.width() - 1),
                               std::clamp(entry->hotSpot.y(), 0, frame.image.height() - 1));
    }
    return frame;
}

struct AniHeader {
    std::uint32_t frames = 0;
    std::uint32_t steps = 0;
    std::uint32_t jiffies = 0;
    bool iconFrames = false;
};

struct AniParts {
    std::optional<AniHeader> header;
    std::vector<CursorFrame> frames;
    std::vector<std::uint32_t> rates;
    std::vector<std::uint32_t> sequence;
    bool broken = false;
};

std::vector<std::uint32_t> readDwordTable(const Bytes& chunk, std::uint32_t limit)
{
    const std::uint32_t count = std::uint32_t(std::min<qsizetype>(chunk.size() / 4, limit));
    std::vector<std::uint32_t> table;
    table.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        table.push_back(*chunk.u32(4 * qsizetype(i)));
    return table;
}

// Walks the chunks of `list` (a RIFF body) calling `visit` with each tag
// and body.  Every step moves forward by at least 8 bytes, so the walk
// ends on any input.
template <typename Visit>
void forEachChunk(const Bytes& list, Visit visit)
{
    qsizetype pos = 0;
    while (list.has(pos, 8)) {
        const std::uint32_t size = *list.u32(pos + 4);
        const qsizetype available = list.size() - pos - 8;
        const qsizetype bodySize = std::min<qsizetype>(size, available);
        if (!visit(pos, list.slice(pos + 8, bodySize)))
            return;
        pos += 8 + bodySize + (bodySize & 1); // chunks are padded to even sizes
    }
}

void readFrameList(const Bytes& list, AniParts& parts)
{
    forEachChunk(list, [&](qsizetype pos, const Bytes& body) {
        if (!list.tagIs(pos, "icon"))
            return true;
        if (parts.frames.size() >= kMaxFrames) {
            parts.broken = true;
            return false;
        }
        std::optional<CursorFrame> frame = readCurFrame(body);
        if (!frame) {
            parts.broken = true;
            return false;
        }
        parts.frames.push_back(std::move(*frame));
        return true;
    });
}

} // namespace

CursorHandle readCurFile(const QByteArray& bytes)
{
    std::optional<CursorFrame> frame = readCurFrame(Bytes(bytes));
    if (!frame)
        return nullptr;
    auto cursor = std::make_shared<CursorImage>();
    cursor->frames.push_back(std::move(*frame));
    return cursor;
}

CursorHandle readAniFile(const QByteArray& bytes)
{
    const Bytes file(bytes);
    if (!file.tagIs(0, "RIFF") || !file.tagIs(8, "ACON"))
        return nullptr;
    const qsizetype riffSize = std::min<qsizetype>(*file.u32(4), file.size() - 8);
    if (riffSize < 4)
        return nullptr;
    const Bytes body = file.slice(12, riffSize - 4);

    AniParts parts;
    forEachChunk(body, [&](qsizetype pos, const Bytes& chunk) {
        if (body.tagIs(pos, "anih")) {
            const auto size = chunk.u32(0);
            if (!size || *size < 36 || chunk.size() < 36) {
                parts.broken = true;
                return false;
            }
            AniHeader header;
            header.frames = *chunk.u32(4);
            header.steps = *chunk.u32(8);
            header.jiffies = *chunk.u32(28);
            header.iconFrames = (*chunk.u32(32) & 1) != 0;
            parts.header = header;
        } else if (body.tagIs(pos, "rate")) {
            parts.rates = readDwordTable(chunk, kMaxSteps);
        } else if (body.tagIs(pos, "seq ")) {
            parts.sequence = readDwordTable(chunk, kMaxSteps);
        } else if (body.tagIs(pos, "LIST") && chunk.tagIs(0, "fram")) {
            readFrameList(chunk.slice(4, chunk.size() - 4), parts);
        }
        return !parts.broken;
    });

    // Frames stored as raw bitmaps (not icons) are not supported.
    if (parts.broken || !parts.header || !parts.header->iconFrames || parts.frames.empty())
        return nullptr;
    const AniHeader& header = *parts.header;
    const std::uint32_t frameCount = std::min<std::uint32_t>(header.frames, std::uint32_t(parts.frames.size()));
    if (frameCount == 0)
        return nullptr;
    // Without a sequence the steps are the frames in order.
    std::uint32_t steps = header.steps ? header.steps : frameCount;
    if (!parts.sequence.empty())
        steps = std::min<std::uint32_t>(steps, std::uint32_t(parts.sequence.size()));
    else
        steps = std::min(steps, frameCount);
    steps = std::min(steps, kMaxSteps);

    auto cursor = std::make_shared<CursorImage>();
    cursor->frames.reserve(steps);
    const std::uint32_t defaultJiffies = header.jiffies ? header.jiffies : kDefaultJiffies;
    for (std::uint32_t step = 0; step < steps; ++step) {
        const std::uint32_t index = parts.sequence.empty() ? step : parts.sequence[step];
        if (index >= frameCount)
            return nullptr;
        std::uint32_t jiffies = step < parts.rates.size() ? parts.rates[step] : defaultJiffies;
        // A zero rate would spin; a huge one would freeze the animation.
        jiffies = std::clamp<std::uint32_t>(jiffies, 1, 60 * 60);
        CursorFrame frame = parts.frames[index]; // images are shared, not copied
        frame.displayMs = int((jiffies * 1000 + 30) / 60);
        cursor->frames.push_back(std::move(frame));
    }
    return cursor;
}

CursorHandle readCursor(const QByteArray& bytes)
{
    if (bytes.startsWith("RIFF"))
        return readAniFile(bytes);
    return readCurFile(bytes);
}

CursorHandle loadCursorFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return nullptr;
    return readCursor(file.read(kMaxFileBytes));
}

} // namespace platform::cursors

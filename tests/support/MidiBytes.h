#pragma once
// Standard MIDI Files built byte by byte, for the tests of their readers.
#include <QByteArray>

#include <cstdint>
#include <initializer_list>

namespace midibytes {

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

inline QByteArray chunk(const char* type, const QByteArray& body)
{
    const auto n = std::uint32_t(body.size());
    return QByteArray(type, 4) + bytes({int(n >> 24), int(n >> 16 & 0xFF), int(n >> 8 & 0xFF), int(n & 0xFF)}) + body;
}

inline QByteArray header(int format, int tracks, int division)
{
    return chunk("MThd", bytes({0, format, 0, tracks, division >> 8 & 0xFF, division & 0xFF}));
}

inline const QByteArray EndOfTrack = bytes({0, 0xFF, 0x2F, 0});

} // namespace midibytes

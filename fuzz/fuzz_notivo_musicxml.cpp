// MusicXML reader on arbitrary bytes (see ImportChecks.h for what it must hold).
#include "ImportChecks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto score = fuzzchecks::untouchedScore();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    fuzzchecks::check(notivo::readMusicXml(bytes, *score), *score);
    return 0;
}

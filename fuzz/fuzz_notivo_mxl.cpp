// The .mxl container (a zip archive read through QuaZip) on arbitrary bytes:
// it unpacks no more than its limit, says why when it unpacks nothing, and
// what it unpacks goes on to the MusicXML reader.
#include "ImportChecks.h"
#include "notivo/score/MxlContainer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr qint64 Limit = 1024 * 1024;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const notivo::MxlContents contents = notivo::musicXmlOfMxl(bytes, Limit);
    if (contents.ok != contents.problem.isEmpty())
        __builtin_trap();
    if (contents.musicXml.size() > Limit)
        __builtin_trap();
    if (contents.ok) {
        auto score = fuzzchecks::untouchedScore();
        fuzzchecks::check(notivo::readMusicXml(contents.musicXml, *score), *score);
    }
    return 0;
}

// Feeds arbitrary bytes to the instrument.txt reader: whatever the file
// holds, every menu caption must exist and none may be empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "keyrig/InstrumentNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const InstrumentNames names = InstrumentNames::parse(bytes);
    if (names.Programs.size() != InstrumentNames::ProgramCount || names.Drums.size() != InstrumentNames::DrumCount)
        std::abort();
    for (const QString& name : names.Programs + names.Drums)
        if (name.isEmpty())
            std::abort();
    return 0;
}

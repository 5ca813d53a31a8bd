// Feeds arbitrary bytes to the config.dat reader: it must stop cleanly at bad
// input, keep programs and keys inside 0..127, and read back what it writes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "keyrig/ConfigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    KeyrigSettings settings;
    const int count = ConfigFile::parse(bytes, settings);
    if (count < 0 || count > 17)
        std::abort();
    for (int bank : settings.Banks)
        if (bank < 0 || bank > 127)
            std::abort();
    for (int note : settings.DrumNotes)
        if (note < 0 || note > 127)
            std::abort();
    KeyrigSettings again;
    if (ConfigFile::parse(ConfigFile::format(settings), again) != 17 || !(again == settings))
        std::abort();
    return 0;
}

#include "platform/cursors/CursorFile.h"

#include <cstddef>
#include <cstdint>

// Cursor files come from the program's folder, where anything may lie: any
// bytes must give a cursor or nothing, within bounds and small memory.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const platform::cursors::CursorHandle cursor = platform::cursors::readCursor(bytes);
    if (cursor) {
        // Touch every frame so a bad image would show here.
        for (const auto& frame : cursor->frames)
            if (frame.image.isNull() || frame.displayMs < 0)
                __builtin_trap();
    }
    return 0;
}

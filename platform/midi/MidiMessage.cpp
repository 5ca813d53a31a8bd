#include "platform/midi/MidiMessage.h"

namespace platform::midi {

int dataLength(int status)
{
    if (status < 0x80 || status > 0xFF)
        return 0;
    switch (status & 0xF0) {
    case 0xC0: // program change
    case 0xD0: // channel pressure
        return 1;
    case 0xF0:
        switch (status) {
        case 0xF1: // time code quarter frame
        case 0xF3: // song select
            return 1;
        case 0xF2: // song position
            return 2;
        default:
            return 0;
        }
    default:
        return 2;
    }
}

} // namespace platform::midi

#include "keyrig/KeyPositions.h"

#include <QtCore/qnamespace.h>
#include <QtCore/qsystemdetection.h>

#include <array>

namespace KeyPositions {
namespace {

// Linux input key code -> virtual-key code of the key at that place on a US
// keyboard.  Index = evdev code; 0 = a key keyrig does not use.
constexpr std::array<int, 101> EvdevToVk{
    0,   27,  49,  50,  51,  52,  53,  54,  55,  56,  // 0 esc 1..8
    57,  48,  189, 187, 8,   9,   81,  87,  69,  82,  // 9 0 - = bksp tab Q W E R
    84,  89,  85,  73,  79,  80,  219, 221, 13,  17,  // T Y U I O P [ ] enter ctrl
    65,  83,  68,  70,  71,  72,  74,  75,  76,  186, // A S D F G H J K L ;
    222, 192, 16,  220, 90,  88,  67,  86,  66,  78,  // ' ` shift \ Z X C V B N
    77,  188, 190, 191, 16,  106, 18,  32,  20,  112, // M , . / shift kp* alt space caps F1
    113, 114, 115, 116, 117, 118, 119, 120, 121, 144, // F2..F10 numlock
    145, 103, 104, 105, 109, 100, 101, 102, 107, 97,  // scroll kp7 kp8 kp9 kp- kp4 kp5 kp6 kp+ kp1
    98,  99,  96,  110, 0,   0,   226, 122, 123, 0,   // kp2 kp3 kp0 kp. - - 102nd F11 F12 -
    0,   0,   0,   0,   0,   0,   13,  17,  111, 0,   // - - - - - - kpenter rctrl kp/ sysrq
    18};                                              // ralt

#if defined(Q_OS_LINUX)
constexpr std::uint32_t XkbOffset = 8; // xkb key codes are evdev codes + 8
#endif

} // namespace

int virtualKeyFromScanCode(std::uint32_t nativeScanCode)
{
#if defined(Q_OS_LINUX)
    if (nativeScanCode < XkbOffset)
        return 0;
    const std::uint32_t evdev = nativeScanCode - XkbOffset;
    return evdev < EvdevToVk.size() ? EvdevToVk[evdev] : 0;
#else
    (void)nativeScanCode;
    return 0;
#endif
}

int virtualKeyFromQtKey(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 96 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same codes in both tables
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Comma: return 188;
    case Qt::Key_Period: return 190;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Slash: return 191;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Equal: return 187;
    case Qt::Key_BracketLeft: return 219;
    case Qt::Key_BracketRight: return 221;
    case Qt::Key_Backslash: return 220;
    case Qt::Key_Apostrophe: return 222;
    case Qt::Key_QuoteLeft: return 192;
    case Qt::Key_Space: return 32;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    default: return 0;
    }
}

int virtualKey(std::uint32_t nativeScanCode, int qtKey, bool keypad)
{
    if (const int vk = virtualKeyFromScanCode(nativeScanCode))
        return vk;
    return virtualKeyFromQtKey(qtKey, keypad);
}

} // namespace KeyPositions

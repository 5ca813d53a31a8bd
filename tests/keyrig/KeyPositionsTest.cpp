#include <gtest/gtest.h>

#include <QtCore/qnamespace.h>

#include "keyrig/KeyPositions.h"

namespace {

TEST(KeyPositions, PlacesOfAUsKeyboardAndTheQtKeyFallback)
{
    struct Case {
        std::uint32_t scanCode;
        int qtKey;
        bool keypad;
        int virtualKey;
    };
    const Case cases[] = {
        {52, Qt::Key_W, false, 90},            // the Z place on any layout
        {24, Qt::Key_A, false, 81},            // Q place (AZERTY A)
        {29, Qt::Key_Z, false, 89},            // Y place (QWERTZ Z)
        {59, Qt::Key_Semicolon, false, 188},   // comma place
        {34, Qt::Key_Udiaeresis, false, 219},  // left bracket place
        {88, Qt::Key_Down, true, 98},          // keypad 2 with NumLock off
        {106, Qt::Key_Slash, true, 111},       // keypad /
        {71, Qt::Key_F5, false, 116},
        {0, Qt::Key_Z, false, 90},             // no scan code: the key itself
        {0, Qt::Key_2, true, 98},
        {0, Qt::Key_Comma, false, 188},
        {0, Qt::Key_BracketLeft, false, 219},
        {0, Qt::Key_F9, false, 120},
        {0, Qt::Key_Up, false, 0},
        {300, Qt::Key_Up, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyPositions::virtualKey(c.scanCode, c.qtKey, c.keypad), c.virtualKey) << c.scanCode;
}

} // namespace

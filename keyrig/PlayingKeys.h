#pragma once
#include <array>
#include <cstdint>
#include <functional>

class VBMIDI;

// Key states of the computer keyboard and the edge detection that turns
// them into note messages: exactly one note-on when a playing key or pad
// goes down and one note-off when it goes up.
class PlayingKeys {
public:
    // What a key-down asks of the window besides notes.
    enum class Command { None, Bank, Beat, Record };
    struct KeyDownResult {
        Command command = Command::None;
        int index = 0; // bank 0..3 or beat control 0..4
    };

    explicit PlayingKeys(VBMIDI& midi) : midi_(midi) {}

    // Told of every drawn key or pad that changes between up and down.
    std::function<void(int keyIndex, bool down)> onKeyChanged;
    std::function<void(int pad, bool down)> onPadChanged;

    std::array<int, 12> DrumNotes{};
    int BaseKey = 0;
    int KeyVelocity = 127;

    // The window's key events, with virtual-key codes 0..255.
    KeyDownResult Form_KeyDown(int keyCode);
    void Form_KeyUp(int keyCode);

    // Acts on every key of both tables whose state changed since last time.
    void CheckKeys();

    // Lets go of every key and pad that is down (their key-ups may never
    // come, e.g. when the window loses the keyboard).
    void releaseAll();

    int lastKey() const { return LastKey; }

private:
    VBMIDI& midi_;
    std::array<std::uint8_t, 256> KeyState{};
    std::array<std::uint8_t, 256> KeyStateSeen{};
    int LastKey = 0;
};

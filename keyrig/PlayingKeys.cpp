#include "keyrig/PlayingKeys.h"

#include "keyrig/KeyTables.h"
#include "keyrig/VBMIDI.h"

namespace {
constexpr int KeyboardChannel = VBMIDI::KeyboardChannel;
constexpr int PercussionChannel = VBMIDI::PercussionChannel;
constexpr int PadVelocity = 127;

bool isKeyCode(int keyCode) { return keyCode >= 0 && keyCode <= 255; }
} // namespace

PlayingKeys::KeyDownResult PlayingKeys::Form_KeyDown(int keyCode)
{
    KeyDownResult result;
    if (keyCode == LastKey || !isKeyCode(keyCode))
        return result; // a held key repeating
    LastKey = keyCode;
    if (keyCode >= KeyTables::VkF1 && keyCode <= KeyTables::VkF4)
        result = {Command::Bank, keyCode - KeyTables::VkF1};
    else if (keyCode >= KeyTables::VkF5 && keyCode <= KeyTables::VkF9)
        result = {Command::Beat, keyCode - KeyTables::VkF5};
    else if (keyCode == KeyTables::VkF12)
        result = {Command::Record, 0};
    KeyState[keyCode] = 1;
    CheckKeys();
    return result;
}

void PlayingKeys::Form_KeyUp(int keyCode)
{
    LastKey = 0;
    if (!isKeyCode(keyCode))
        return;
    KeyState[keyCode] = 0;
    CheckKeys();
}

void PlayingKeys::CheckKeys()
{
    for (int i = 0; i < static_cast<int>(KeyTables::KeyCodes.size()); ++i) {
        const int k = KeyTables::KeyCodes[i];
        if (KeyState[k] == KeyStateSeen[k])
            continue;
        KeyStateSeen[k] = KeyState[k];
        const bool down = KeyState[k] != 0;
        if (onKeyChanged)
            onKeyChanged(i, down);
        const int key = KeyTables::LowestNote + BaseKey + i;
        if (down)
            midi_.SendNoteOn(KeyboardChannel, key, KeyVelocity);
        else
            midi_.SendNoteOff(KeyboardChannel, key);
    }
    for (int p = 0; p < static_cast<int>(KeyTables::DrumKeys.size()); ++p) {
        const int k = KeyTables::DrumKeys[p];
        if (KeyState[k] == KeyStateSeen[k])
            continue;
        KeyStateSeen[k] = KeyState[k];
        const bool down = KeyState[k] != 0;
        if (onPadChanged)
            onPadChanged(p, down);
        if (down)
            midi_.SendNoteOn(PercussionChannel, DrumNotes[p], PadVelocity);
        else
            midi_.SendNoteOff(PercussionChannel, DrumNotes[p]);
    }
}

void PlayingKeys::releaseAll()
{
    KeyState.fill(0);
    LastKey = 0;
    CheckKeys();
}

#pragma once
#include <array>

// Virtual-key codes of the keys that play: 36 chromatic keys from the
// lowest note up, and the twelve keypad keys of the drum pads.
namespace KeyTables {

constexpr std::array<int, 36> KeyCodes{
    90, 83, 88, 68, 67, 86, 71, 66, 72, 78, 74, 77,     // Z S X D C V G B H N J M
    188, 76, 190, 186, 191, 81, 50, 87, 51, 69, 52, 82, // , L . ; / Q 2 W 3 E 4 R
    84, 54, 89, 55, 85, 73, 57, 79, 48, 80, 189, 219};  // T 6 Y 7 U I 9 O 0 P - [

constexpr std::array<int, 12> DrumKeys{111, 106, 109, 103, 104, 105, 100, 101, 102, 97, 98, 99};

constexpr int LowestNote = 48;
constexpr int VkF1 = 112;
constexpr int VkF4 = 115;
constexpr int VkF5 = 116;
constexpr int VkF9 = 120;
constexpr int VkF12 = 123; // starts and stops recording

constexpr bool isBlackKey(int index)
{
    const int semitone = index % 12;
    return semitone == 1 || semitone == 3 || semitone == 6 || semitone == 8 || semitone == 10;
}

} // namespace KeyTables

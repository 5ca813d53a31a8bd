#include "notivo/score/NotePitch.h"

#include <gtest/gtest.h>

#include <map>

using namespace notivo;

namespace {

// An independent reckoning of the pitch of a staff position: steps above
// middle C (position 21), a diatonic letter and an octave.
struct Pitch {
    int midiKey;
    QString letter;
    QString solfege;
    int octaveLabel;
};

Pitch expectedPitch(int position, int accidental)
{
    static const int semitones[] = {0, 2, 4, 5, 7, 9, 11};
    static const char* letters[] = {"C", "D", "E", "F", "G", "A", "B"};
    static const char* solfege[] = {"Do", "Re", "Mi", "Fa", "Sol", "La", "Ti"};
    const int steps = 21 - position;
    const int octave = steps >= 0 ? steps / 7 : -((-steps + 6) / 7);
    const int degree = steps - 7 * octave;
    const int shift = accidental == 1 ? 1 : accidental == 2 ? -1 : 0;
    return {60 + 12 * octave + semitones[degree] + shift, letters[degree], solfege[degree], 2 + octave};
}

} // namespace

TEST(NotePitch, FixNotesAndNoteTipOverEveryPositionAndAccidental)
{
    for (int position = -3; position <= 40; ++position)
        for (int accidental = 0; accidental <= 3; ++accidental) {
            SCOPED_TRACE(testing::Message() << "position " << position << " accidental " << accidental);
            const Pitch pitch = expectedPitch(position, accidental);
            EXPECT_EQ(127 - FixNotes(position, std::uint8_t(accidental)), pitch.midiKey);
            const QString sign = accidental == 1 ? "#" : accidental == 2 ? "b" : "";
            const QString label = QString::number(pitch.octaveLabel);
            EXPECT_EQ(NoteTip(position, std::uint8_t(accidental), true), pitch.letter + sign + " " + label);
            EXPECT_EQ(NoteTip(position, std::uint8_t(accidental)), pitch.solfege + sign + " " + label);
            // Notation writes the same note: letter, alteration and an octave
            // that puts middle C in octave 4.
            const WrittenPitch written = writtenPitch(position, std::uint8_t(accidental));
            static const std::map<char, int> natural{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                                     {'G', 7}, {'A', 9}, {'B', 11}};
            EXPECT_EQ(QString(QLatin1Char(written.step)), pitch.letter);
            EXPECT_EQ(12 * (written.octave + 1) + natural.at(written.step) + written.alter, pitch.midiKey);
            EXPECT_EQ(written.alter, accidental == 1 ? 1 : accidental == 2 ? -1 : 0);
        }
}

TEST(NotePitch, TellingPositions)
{
    struct Case {
        int position, accidental, inverted;
        const char* letterName;
        const char* solfegeName;
    } cases[] = {
        {0, 0, 31, "C 5", "Do 5"},    {1, 0, 32, "B 4", "Ti 4"},     {11, 0, 50, "F 3", "Fa 3"},
        {15, 0, 56, "B 2", "Ti 2"},   {19, 0, 63, "E 2", "Mi 2"},    {21, 0, 67, "C 2", "Do 2"},
        {30, 0, 82, "A 0", "La 0"},   {40, 0, 99, "E -1", "Mi -1"},  {15, 1, 55, "B# 2", "Ti# 2"},
        {14, 0, 55, "C 3", "Do 3"},   {21, 2, 68, "Cb 2", "Dob 2"},  {14, 1, 54, "C# 3", "Do# 3"},
        {17, 2, 61, "Gb 2", "Solb 2"}, {36, 0, 92, "B -1", "Ti -1"}, {17, 200, 60, "G 2", "Sol 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(FixNotes(c.position, std::uint8_t(c.accidental)), c.inverted);
        EXPECT_EQ(NoteTip(c.position, std::uint8_t(c.accidental), true), QString::fromLatin1(c.letterName));
        EXPECT_EQ(NoteTip(c.position, std::uint8_t(c.accidental), false), QString::fromLatin1(c.solfegeName));
    }
}

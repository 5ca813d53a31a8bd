#include "notivo/editor/ScoreModel.h"
#include "notivo/staff/StaffGeometry.h"

#include <gtest/gtest.h>

using namespace notivo;
using namespace notivo::staff;

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

TEST(StaffGeometry, FixNotesAndNoteTipOverEveryPositionAndAccidental)
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
        }
}

TEST(StaffGeometry, TellingPositions)
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

TEST(StaffGeometry, AnchorsAndTheirInverseRoundHalvesToEven)
{
    EXPECT_EQ(rowAnchorY(15), 88);
    EXPECT_EQ(headCentreY(11), 70);
    EXPECT_EQ(headCentreY(21), 120);
    EXPECT_EQ(columnAnchorX(1), 46);
    EXPECT_EQ(columnAnchorX(30), 510);
    const std::pair<double, int> rows[] = {{118, 21}, {13, 0}, {0, -3}, {15.5, 0}, {20.5, 2}, {25.5, 2}, {30.5, 4}, {176, 33}};
    for (auto [y, r] : rows)
        EXPECT_EQ(positionAt(y), r) << y;
    const std::pair<double, int> columns[] = {{62, 2}, {38, 0}, {54, 2}, {70, 2}, {86, 4}, {522, 31}, {0, -2}};
    for (auto [x, w] : columns)
        EXPECT_EQ(windowColumnAt(x), w) << x;
}

TEST(StaffGeometry, MakeSharpFlatStoresOneAccidental)
{
    struct Case {
        const char* offset;
        const char* what;
        AccidentalEntryError error;
        int position, column, code; // expected cell, when stored
    } cases[] = {
        {"12,3", "Sharp", AccidentalEntryError::None, 12, 3, 1},
        {"40,500", "Flat", AccidentalEntryError::None, 40, 500, 2},
        {"1,1", "Sharp", AccidentalEntryError::None, 1, 1, 1},
        {"2.5,3.5", "Flat", AccidentalEntryError::None, 2, 4, 2}, // halves to even
        {"+7,08", "Sharp", AccidentalEntryError::None, 7, 8, 1},
        {"", "Sharp", AccidentalEntryError::None, 0, 0, 0},
        {"5,5", "sharp", AccidentalEntryError::None, 0, 0, 0},   // case matters
        {"99,9999", "Natural", AccidentalEntryError::None, 0, 0, 0}, // other words: bounds not checked
        {"12", "Sharp", AccidentalEntryError::NoComma, 0, 0, 0},
        {"0,5", "Sharp", AccidentalEntryError::PositionOutOfRange, 0, 0, 0},
        {"41,5", "Flat", AccidentalEntryError::PositionOutOfRange, 0, 0, 0},
        {"3,600", "Sharp", AccidentalEntryError::ColumnOutOfRange, 0, 0, 0},
        {"3,0", "Flat", AccidentalEntryError::ColumnOutOfRange, 0, 0, 0},
        {"a,1", "Sharp", AccidentalEntryError::NotANumber, 0, 0, 0},
        {",1", "Sharp", AccidentalEntryError::NotANumber, 0, 0, 0},
        {"1,", "Sharp", AccidentalEntryError::NotANumber, 0, 0, 0},
        {"1,2,3", "Sharp", AccidentalEntryError::NotANumber, 0, 0, 0},
        {"1e1,2", "Sharp", AccidentalEntryError::NotANumber, 0, 0, 0},
        {"3,99999", "Sharp", AccidentalEntryError::NotANumber, 0, 0, 0}, // beyond 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << " " << c.what);
        Score s;
        s.ScoreNotes.set(12, 3, NoteId::Half);
        const ScoreGrid notes = s.ScoreNotes;
        EXPECT_EQ(MakeSharpFlat(s, c.offset, c.what), c.error);
        EXPECT_EQ(s.ScoreNotes, notes);
        if (c.code != 0) {
            EXPECT_EQ(s.ScoreAccidentals.get(c.position, c.column), c.code);
            s.ScoreAccidentals.set(c.position, c.column, 0);
        }
        EXPECT_TRUE(s.ScoreAccidentals.isClear());
    }
}

#include "notivo/score/ScoreAccidentalEntry.h"
#include "notivo/score/ScoreModel.h"

#include <gtest/gtest.h>

using namespace notivo;

TEST(AccidentalEntry, MakeSharpFlatStoresOneAccidental)
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

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "notivo/score/InstrumentMessages.h"
#include "notivo/score/InstrumentNames.h"

namespace {

TEST(InstrumentNamesTest, ListHoldsTheProgramsThenTheDrumKeys)
{
    const QStringList list = notivo::instrumentList();
    ASSERT_EQ(list.size(), 175);
    const std::vector<std::pair<int, const char*>> entries = {
        {0, "0 Acoustic Grand Piano"}, {7, "7 Clav"}, {21, "21 Accordian"}, {23, "23 Tango Accordian"},
        {87, "87 Lead 8 (bass+lead)"}, {103, "103 FX 8 (sci-fi)"}, {127, "127 Gunshot"},
        {128, "128 Acoustic Bass Drum"}, {135, "135 Closed High-Hat"}, {174, "174 Open Triangle"},
    };
    for (const auto& [index, text] : entries)
        EXPECT_EQ(list[index], QString::fromLatin1(text)) << index;
}

TEST(InstrumentNamesTest, StringTableCoversExactlyItsIdentifiers)
{
    for (int id : {34, 82, 99, 228, -1})
        EXPECT_TRUE(notivo::resourceString(id).isEmpty()) << id;
    EXPECT_EQ(notivo::resourceString(35), QStringLiteral("Acoustic Bass Drum"));
    EXPECT_EQ(notivo::resourceString(81), QStringLiteral("Open Triangle"));
    EXPECT_EQ(notivo::resourceString(100), QStringLiteral("Acoustic Grand Piano"));
    EXPECT_EQ(notivo::resourceString(227), QStringLiteral("Gunshot"));
}
TEST(InstrumentNamesTest, NameIsTheEntryWithoutItsNumber)
{
    EXPECT_EQ(notivo::instrumentName(0), QStringLiteral("Acoustic Grand Piano"));
    EXPECT_EQ(notivo::instrumentName(128), QStringLiteral("Acoustic Bass Drum"));
    EXPECT_EQ(notivo::instrumentName(174), QStringLiteral("Open Triangle"));
    EXPECT_TRUE(notivo::instrumentName(175).isEmpty());
    EXPECT_TRUE(notivo::instrumentName(-1).isEmpty());
}

TEST(InstrumentMessagesTest, EntryChoosesItsProgramOrSendsNothingForADrum)
{
    struct Case {
        int entry, channel;
        std::vector<std::uint32_t> selection;
        int v;                   // a note of this inverted pitch ...
        std::uint32_t on, off;   // ... goes out as these
    };
    const std::vector<Case> cases = {
        {0, 0, {0x00B0, 0x20B0, 0x00C0}, 67, 0x7F3C90, 0x3C80},
        {40, 0, {0x00B0, 0x20B0, 0x28C0}, 31, 0x7F6090, 0x6080},
        {127, 3, {0x00B3, 0x20B3, 0x7FC3}, 83, 0x7F2C93, 0x2C83},
        {128, 0, {}, 67, 0x7F2399, 0x2389},   // drum key 35 on channel 10, whatever the pitch
        {174, 0, {}, 10, 0x7F5199, 0x5189},   // drum key 81
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(notivo::instrumentSelection(c.entry, c.channel), c.selection);
        const notivo::NoteAddress address =
            notivo::noteAddress(c.v, c.channel, notivo::isDrumEntry(c.entry), notivo::drumKeyOf(c.entry));
        EXPECT_EQ(notivo::noteOnMessage(address), c.on);
        EXPECT_EQ(notivo::noteOffMessage(address), c.off);
    }
    // A key that a data byte cannot carry is kept within seven bits.
    EXPECT_EQ(notivo::noteAddress(-5, 0, false, 0).key, 127);
    EXPECT_EQ(notivo::noteAddress(200, 0, false, 0).key, 0);
}

} // namespace

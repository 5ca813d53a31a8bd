#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "keyrig/KeyRepeatFilter.h"

namespace {

using Action = KeyRepeatFilter::Action;
constexpr int Z = 90;
constexpr std::uint32_t ScanZ = 52;

struct Step {
    bool press;
    unsigned long time;
    std::optional<bool> displayHeld; // what the display says at the release
    bool flagged = false;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<Action> expected;
};

TEST(KeyRepeatFilter, AHeldKeyIsOnePressAndOneReleaseAndARealStrokeStrikesAgainAtOnce)
{
    const Case cases[] = {
        {"pairs the toolkit flagged",
         {{true, 100, {}}, {false, 700, true, true}, {true, 700, true, true}, {false, 900, false}},
         {Action::Press, Action::None, Action::None, Action::Release}},
        {"X11 pairs with one time stamp, read together",
         {{true, 100, {}}, {false, 700, true}, {true, 700, {}}, {false, 740, true}, {true, 740, {}}, {false, 900, false}},
         {Action::Press, Action::None, Action::None, Action::None, Action::None, Action::Release}},
        {"a pair whose halves are a millisecond apart",
         {{true, 100, {}}, {false, 700, true}, {true, 701, {}}, {false, 900, false}},
         {Action::Press, Action::None, Action::None, Action::Release}},
        {"a pair split across two reads, read late: the key was let go meanwhile",
         {{true, 100, {}}, {false, 700, false}, {true, 700, {}}, {false, 705, false}},
         {Action::Press, Action::Release, Action::None, Action::None}},
        {"a real release and a new stroke 5 ms later, read after both happened",
         {{true, 100, {}}, {false, 300, true}, {true, 305, {}}, {false, 500, false}},
         {Action::Press, Action::None, Action::ReleaseThenPress, Action::Release}},
        {"a real release and a new stroke, read as they happen",
         {{true, 100, {}}, {false, 300, false}, {true, 305, {}}, {false, 500, false}},
         {Action::Press, Action::Release, Action::Press, Action::Release}},
        {"repeated presses without releases (detectable auto-repeat)",
         {{true, 100, {}}, {true, 700, {}}, {true, 740, {}}, {false, 900, false}},
         {Action::Press, Action::None, Action::None, Action::Release}},
        {"a display that cannot be asked: every unflagged event is real",
         {{true, 0, {}}, {false, 0, std::nullopt}, {true, 0, {}}, {false, 0, std::nullopt}},
         {Action::Press, Action::Release, Action::Press, Action::Release}},
        {"a release without a press is nothing",
         {{false, 50, false}, {true, 100, {}}},
         {Action::None, Action::Press}},
    };
    for (const Case& c : cases) {
        KeyRepeatFilter filter;
        std::optional<bool> display;
        filter.isHeld = [&display](std::uint32_t scan) {
            EXPECT_EQ(scan, ScanZ);
            return display;
        };
        std::vector<Action> actions;
        for (const Step& s : c.steps) {
            display = s.displayHeld;
            const KeyRepeatFilter::KeyEvent event{Z, ScanZ, s.time, s.flagged};
            actions.push_back(s.press ? filter.press(event) : filter.release(event));
        }
        EXPECT_EQ(actions, c.expected) << c.name;
    }
}

TEST(KeyRepeatFilter, AfterTheKeyboardWentElsewhereEveryKeyIsUp)
{
    KeyRepeatFilter filter;
    filter.isHeld = [](std::uint32_t) { return std::optional<bool>(true); };
    EXPECT_EQ(filter.press({Z, ScanZ, 100, false}), Action::Press);
    EXPECT_EQ(filter.release({Z, ScanZ, 700, false}), Action::None); // waits for its press
    filter.clear();
    EXPECT_EQ(filter.press({Z, ScanZ, 700, false}), Action::Press);
}

} // namespace

#include <gtest/gtest.h>

#include "platform/midi/DeliverySchedule.h"

using namespace platform::midi;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

ShortMessage message(int status, int data1, int data2 = 0)
{
    ShortMessage m;
    m.bytes = {static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1), static_cast<std::uint8_t>(data2)};
    m.length = (status & 0xF0) == 0xC0 ? 2 : 3;
    return m;
}

struct Step {
    const char* what;
    ShortMessage message;
    int sent, now, due;
};

void run(const std::vector<Step>& steps)
{
    const Clock::time_point t0{};
    auto at = [&](int ms) { return t0 + milliseconds(ms); };
    DeliverySchedule schedule;
    for (const Step& step : steps)
        EXPECT_EQ(schedule.due(step.message, at(step.sent), at(step.now)), at(step.due)) << step.what;
}

const ShortMessage volume = message(0xB0, 7, 100);

} // namespace

TEST(DeliverySchedule, KeepsSpacingOnlyWhileBehind)
{
    run({
        {"live message plays at once", volume, 0, 0, 0},
        {"small lateness is noise", volume, 100, 110, 100},
        // The font was loading: three messages waited until 800.
        {"first waiting message plays when ready", volume, 200, 800, 800},
        {"sent together, played together", volume, 200, 800, 800},
        {"250 ms later keeps its distance", volume, 450, 800, 1050},
        {"sent while catching up: still shifted", volume, 900, 1050, 1500},
        // Sent after everything before it had played: live again.
        {"caught up", volume, 1800, 1800, 1800},
        {"next live message", volume, 1900, 1900, 1900},
    });
}

TEST(DeliverySchedule, NoteStartedLateKeepsItsLength)
{
    run({
        // The start-up preview: everything waits for the font (ready at 200),
        // the note-off comes 250 ms after the note-on, once the device is live.
        {"bank select", message(0xB0, 0), 0, 200, 200},
        {"program change", message(0xC0, 0), 0, 200, 200},
        {"middle C", message(0x90, 60, 127), 0, 200, 200},
        {"its note-off keeps 250 ms", message(0x80, 60), 250, 250, 450},
        {"nothing late held: live", message(0x90, 62, 127), 460, 460, 460},
        {"live note released at once", message(0x80, 62), 700, 700, 700},
        // A drum hit that nobody releases must not hold the device back.
        {"late drum hit", message(0x99, 36, 127), 1000, 1300, 1300},
        {"next note is live", message(0x90, 64, 127), 1400, 1400, 1400},
        {"velocity 0 ends it", message(0x90, 64, 0), 1500, 1500, 1500},
        // A late note whose note-off never comes is forgotten in time.
        {"late note", message(0x90, 65, 127), 2000, 2100, 2100},
        {"much later: live again", message(0x90, 67, 127), 20000, 20000, 20000},
        // All notes off releases what started late.
        {"late note on channel 2", message(0x91, 60, 127), 30000, 30100, 30100},
        {"all notes off, still in step", message(0xB1, 123), 30200, 30200, 30300},
        {"after it: live", message(0x90, 69, 127), 30400, 30400, 30400},
        // A late note struck again live no longer counts as late.
        {"late note", message(0x90, 70, 127), 40000, 40100, 40100},
        {"its note-off, shifted", message(0x80, 70), 40200, 40200, 40300},
        {"caught up", message(0x90, 71, 127), 40400, 40400, 40400},
    });
}

TEST(DeliverySchedule, ClosingAPortReleasesLateNotes)
{
    const Clock::time_point t0{};
    DeliverySchedule schedule;
    EXPECT_EQ(schedule.due(message(0x90, 60, 127), t0, t0 + milliseconds(300)), t0 + milliseconds(300));
    schedule.releaseAll();
    EXPECT_EQ(schedule.due(message(0x90, 62, 127), t0 + milliseconds(400), t0 + milliseconds(400)),
              t0 + milliseconds(400));
}

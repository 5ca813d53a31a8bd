#include <QComboBox>
#include <algorithm>

#include "notivo/editor/PlaybackEngine.h"
#include "notivo/editor/TransportFaces.h"
#include "notivo/widgets/DigitFormat.h"
#include "notivo/widgets/DigitalDisplay.h"
#include "platform/cursors/ClassCursors.h"
#include "tests/notivo/editor/play_window_fixture.h"

using namespace notivo;
using namespace notivo::playtest;

namespace {

class PlayWindow : public EditorRig {
protected:
    void stripEvent(QEvent::Type type, double x, Qt::MouseButtons held)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        send(e().Picture6, type, button, held, QPointF(x, 4));
    }
    // What was sent of these keys.
    std::vector<std::uint32_t> messagesOf(std::initializer_list<int> keys)
    {
        std::vector<std::uint32_t> out;
        for (std::uint32_t m : recorder.packedMessages())
            if (std::find(keys.begin(), keys.end(), int((m >> 8) & 0x7F)) != keys.end())
                out.push_back(m);
        return out;
    }
    // What was sent, without the blanket releases of the staff's range
    // (note-offs of values 31..83) that end a run or a step.
    std::vector<std::uint32_t> sentWithoutRelease()
    {
        std::vector<std::uint32_t> block;
        for (int v = LowestPlayedValue; v <= HighestPlayedValue; ++v)
            block.push_back(off(127 - v));
        const auto sent = recorder.packedMessages();
        std::vector<std::uint32_t> out;
        for (std::size_t i = 0; i < sent.size();) {
            if (i + block.size() <= sent.size() && std::equal(block.begin(), block.end(), sent.begin() + i)) {
                i += block.size();
                continue;
            }
            out.push_back(sent[i++]);
        }
        return out;
    }
};

TEST_F(PlayWindow, PlayButtonRunsTheScoreShowingThePauseFaceAndNamesThenRewinds)
{
    score.placeNote(21, 1, NoteId::Quarter, 0);
    score.placeNote(19, 2, NoteId::Quaver, 1);
    QString faceDuringRun, namesDuringRun;
    clock->at(100, [&] {
        faceDuringRun = e().Command5->text();
        namesDuringRun = e().Label3->text();
    });
    e().HScroll1->setValue(5);
    click(e().Command5);
    EXPECT_EQ(faceDuringRun, QStringLiteral(";"));
    EXPECT_EQ(namesDuringRun, QStringLiteral("Do 2 "));
    EXPECT_EQ(e().Command5->text(), QStringLiteral("4"));
    EXPECT_EQ(e().Label3->text(), QStringLiteral("Mi# 2 "));
    EXPECT_EQ(sentWithoutRelease(), (std::vector<std::uint32_t>{on(60), off(60), on(65), off(65)}));
    EXPECT_EQ(clock->waits, (std::vector<long long>{90, 90, 90, 90, 90}));
    EXPECT_EQ(e().HScroll1->value(), 0);
    EXPECT_FALSE(probe().playing());
}

TEST_F(PlayWindow, TransportFacesAreDrawnSymbolsOfTheirCaptions)
{
    using Symbol = TransportFaceStyle::Symbol;
    EXPECT_EQ(TransportFaceStyle::symbolOf(QStringLiteral("4")), Symbol::Play);
    EXPECT_EQ(TransportFaceStyle::symbolOf(QStringLiteral(";")), Symbol::Pause);
    EXPECT_EQ(TransportFaceStyle::symbolOf(QStringLiteral(" < ")), Symbol::Stop);
    EXPECT_EQ(TransportFaceStyle::symbolOf(QStringLiteral("Step")), Symbol::None);
    EXPECT_NE(dynamic_cast<TransportFaceStyle*>(e().Command5->style()), nullptr);
    EXPECT_NE(dynamic_cast<TransportFaceStyle*>(e().Command1->style()), nullptr);

    // The stop face: a dark square in the middle of the button, nothing of a "<".
    e().Command1->show();
    const QImage face = e().Command1->grab().toImage();
    const QPoint mid(face.width() / 2, face.height() / 2);
    EXPECT_LT(qGray(face.pixel(mid)), 100);
    EXPECT_LT(qGray(face.pixel(mid + QPoint(3, 3))), 100);
}

TEST_F(PlayWindow, TempoBarSetsTheUnitAtEachPlay)
{
    score.placeNote(21, 1, NoteId::Quarter, 0);
    e().HScroll2->setValue(180);
    click(e().Command5);
    EXPECT_EQ(clock->waits, (std::vector<long long>{20, 20, 20}));
    clock->waits.clear();
    e().HScroll2->setValue(0);
    click(e().Command5);
    EXPECT_EQ(clock->waits, (std::vector<long long>{200, 200, 200}));
}

TEST_F(PlayWindow, PlayLineIsDrawnRightOfTheFinishedColumn)
{
    score.placeNote(21, 1, NoteId::Semiquaver, 0);
    score.placeNote(21, 2, NoteId::Semiquaver, 0);
    QRgb lineAfterFirst = 0;
    clock->at(100, [&] { lineAfterFirst = e().NoteContainerPbx->image().pixel(64, 30); });
    click(e().Command5);
    EXPECT_EQ(lineAfterFirst | 0xFF000000u, qRgb(0, 0, 0));
    EXPECT_EQ(e().NoteContainerPbx->image().pixel(80, 30) | 0xFF000000u, qRgb(0, 0, 0));
}

TEST_F(PlayWindow, StopAndStepButtonsReachTheEngine)
{
    for (int c = 1; c <= 6; ++c)
        score.placeNote(21, c, NoteId::Semiquaver, 0);
    clock->at(150, [&] { click(e().Command1); });
    click(e().Command5);
    EXPECT_EQ(clock->ms(), 180);
    EXPECT_EQ(probe().playback().PlayPosition(), 1);

    recorder.clear();
    clock->waits.clear();
    click(e().Command2);
    EXPECT_EQ(probe().playback().StepColumn(), 2);
    EXPECT_EQ(clock->waits, (std::vector<long long>{500}));
    EXPECT_FALSE(e().Command2->icon().isNull());
}

TEST_F(PlayWindow, StripSoundsTheColumnUnderThePointerAndDraggingEnterNewColumns)
{
    score.placeNote(21, 2, NoteId::Quarter, 0);
    score.placeNote(19, 3, NoteId::Quarter, 0);
    stripEvent(QEvent::MouseButtonPress, 43, Qt::LeftButton); // w = 0.5 -> 0: nothing
    EXPECT_TRUE(recorder.packedMessages().empty());
    stripEvent(QEvent::MouseButtonPress, 59, Qt::LeftButton); // w = 1.5 -> 2
    stripEvent(QEvent::MouseMove, 62, Qt::LeftButton);        // still column 2: nothing
    stripEvent(QEvent::MouseMove, 75, Qt::LeftButton);        // w = 2.5 -> 2: nothing
    stripEvent(QEvent::MouseMove, 84, Qt::LeftButton);        // column 3
    stripEvent(QEvent::MouseMove, 110, Qt::NoButton);         // no button: nothing sounds
    // Each column is released with the whole staff range before and after its 500 ms.
    EXPECT_EQ(sentWithoutRelease(), (std::vector<std::uint32_t>{on(60), on(64)}));
    EXPECT_EQ(recorder.packedMessages().size(), 2u + 4 * 53u);
    EXPECT_EQ(clock->waits, (std::vector<long long>{500, 500}));
    EXPECT_EQ(probe().playback().PlayPosition(), 3);
    EXPECT_EQ(e().Label3->text(), QStringLiteral("Mi 2 "));
}

TEST_F(PlayWindow, PointerOverTheStripGivesTheCanvasTheNormalCursor)
{
    probe().setCanvasCursorState(0);
    platform::cursors::setClassCursorOf(e().NoteContainerPbx, nullptr);
    stripEvent(QEvent::MouseMove, 200, Qt::NoButton);
    EXPECT_EQ(probe().canvasCursorState(), 1);
    EXPECT_EQ(platform::cursors::classCursor(platform::cursors::classOf(e().NoteContainerPbx)), probe().cursorTable()[0]);
}

TEST_F(PlayWindow, ExitDuringARunSilencesEveryKeyBeforeTheDeviceCloses)
{
    score.placeNote(21, 1, NoteId::Whole, 0);
    score.placeNote(21, 2, NoteId::Whole, 0);
    clock->at(100, [&] { e().mnuExitItm_Click(); });
    click(e().Command5);
    const auto sent = recorder.packedMessages();
    ASSERT_GE(sent.size(), 1u + 128u);
    EXPECT_EQ(sent[0], on(60));
    for (int key = 0; key < 128; ++key)
        EXPECT_EQ(sent[1 + key], off(127 - key));
    for (std::size_t i = 1 + 128; i < sent.size(); ++i) // only the device's own all-notes-off may follow
        EXPECT_EQ(sent[i] & 0xF0, 0xB0u);
    EXPECT_FALSE(probe().playing());
    EXPECT_EQ(endCount, 1);
}

// A staff click during a run: the preview sounds its own 330 ms, the run
// keeps its grid, and neither note-off cuts the other's middle C.
TEST_F(PlayWindow, APreviewDuringAPassKeepsItsLengthAndTheRunItsGrid)
{
    for (int c = 1; c <= 3; ++c)
        score.placeNote(21, c, NoteId::Quarter, 0);
    std::vector<std::uint32_t> sentAt430;
    clock->at(100, [&] { press({16 * 10 + 30, 118}); }); // middle C into column 10
    clock->at(431, [&] { sentAt430 = sentWithoutRelease(); });
    e().Command5_Click();
    clock->run();
    // Nine passes of 90 ms, and the preview's 330 ms among them.
    EXPECT_EQ(clock->waits, (std::vector<long long>{90, 90, 330, 90, 90, 90, 90, 90, 90, 90}));
    EXPECT_EQ(clock->ms(), 810);
    // Run at 0, preview at 100, run at 270 (its note-off there is held back
    // by the preview), the preview's end at 430 is held back by the run.
    EXPECT_EQ(sentAt430, (std::vector<std::uint32_t>{on(60), on(60), on(60)}));
    EXPECT_EQ(sentWithoutRelease(), (std::vector<std::uint32_t>{on(60), on(60), on(60), off(60), on(60), off(60)}));
    EXPECT_EQ(score.ScoreNotes.get(21, 10), NoteId::Quarter);
}

// Play during a preview: the preview ends at its own time and leaves the
// run's note of the same key sounding.
TEST_F(PlayWindow, PlayDuringAPreviewLetsEachEndItsOwnNote)
{
    score.placeNote(21, 1, NoteId::Whole, 0);
    clock->at(0, [&] { press({16 * 5 + 30, 118}); }); // a quarter into column 5, previewed until 330
    clock->at(100, [&] { e().Command5_Click(); });    // the whole note until 550, the quarter 820..1090
    std::vector<std::uint32_t> sentAt400;
    clock->at(400, [&] { sentAt400 = recorder.packedMessages(); });
    clock->run();
    EXPECT_EQ(sentAt400, (std::vector<std::uint32_t>{on(60), on(60)}));
    EXPECT_EQ(sentWithoutRelease(), (std::vector<std::uint32_t>{on(60), on(60), off(60), on(60), off(60)}));
    EXPECT_EQ(clock->ms(), 1090);
}

// Stop during a Step of a run: the run ends after its pass and rewinds; the
// step sounds on for its 500 ms, untouched by the run's closing release.
TEST_F(PlayWindow, StopDuringAStepEndsTheRunAndLeavesTheStepSounding)
{
    score.placeNote(21, 1, NoteId::Whole, 0);
    score.placeNote(17, 2, NoteId::Whole, 0);
    clock->at(50, [&] { click(e().Command2); });  // column 2 until 550
    clock->at(100, [&] { click(e().Command1); }); // the run ends at 180, after the pass under way
    std::vector<std::uint32_t> sentAt300;
    clock->at(300, [&] { sentAt300 = messagesOf({60, 67}); });
    click(e().Command5);
    EXPECT_FALSE(probe().playing());
    EXPECT_EQ(probe().playback().PlayPosition(), 1);
    // The step releases before it strikes (but not the run's key), the run's
    // end releases its own key (but not the step's).
    EXPECT_EQ(sentAt300, (std::vector<std::uint32_t>{on(60), off(67), on(67), off(60)}));
    EXPECT_EQ(messagesOf({60, 67}), (std::vector<std::uint32_t>{on(60), off(67), on(67), off(60), off(67), off(60)}));
    EXPECT_EQ(recorder.packedMessages().back(), off(127 - HighestPlayedValue));
    EXPECT_EQ(clock->ms(), 550);
}

// Exit while a run, a step, a staff preview and an instrument preview wait:
// every key is released once, the device closes, and nothing sounds later.
TEST_F(PlayWindow, ExitWithSeveralWaitsPendingSilencesAllAndRunsNothingLater)
{
    score.placeNote(21, 1, NoteId::Whole, 0);
    score.placeNote(19, 2, NoteId::Whole, 0);
    clock->at(10, [&] { click(e().Command2); });
    clock->at(20, [&] { press({16 * 6 + 30, 108}); });
    clock->at(30, [&] {
        e().Combo1->setCurrentIndex(3);
        e().Combo1_Click(0);
    });
    clock->at(40, [&] {
        recorder.clear();
        e().mnuExitItm_Click();
    });
    click(e().Command5);
    const auto sent = recorder.packedMessages();
    ASSERT_GE(sent.size(), 128u);
    for (int v = 0; v <= 127; ++v)
        EXPECT_EQ(sent[v], off(127 - v));
    for (std::size_t i = 128; i < sent.size(); ++i) // only the device's own all-notes-off may follow
        EXPECT_EQ(sent[i] & 0xF0, 0xB0u);
    EXPECT_EQ(endCount, 1);
    EXPECT_TRUE(clock->idle()); // nothing is left to run
    EXPECT_EQ(clock->ms(), 40);
}

// The elapsed-time display during a run: digit cells come from the sheet
// row of the tick, the colons in that row's colour.
class ElapsedTime : public EditorRig {
protected:
    // Ticks the timer `ms` after a run started, and returns the colour row used.
    int tickAt(long long ms)
    {
        score.placeNote(21, 1, NoteId::Whole, 0);
        int row = -1;
        clock->at(1, [&, ms] {
            clock->t = clock->start + std::chrono::milliseconds(ms);
            row = probe().digitColour();
            e().Timer2_Timer();
            e().Command1_Click();
        });
        e().Command5_Click();
        clock->run();
        return row;
    }
    // Whether the 9 x 16 cell at (x, 3) of the display shows digit d of row r.
    bool cellShows(int x, int d, int r, int fromColumn = 0)
    {
        const QImage& shown = e().Picture11->image();
        const QImage& sheet = e().Picture12->image();
        for (int dy = 0; dy < 16; ++dy)
            for (int dx = fromColumn; dx < 9 && 9 * d + dx < sheet.width(); ++dx) // the 9's cell is cut by the sheet
                if ((shown.pixel(x + dx, 3 + dy) | 0xFF000000u) != (sheet.pixel(9 * d + dx, 16 * r + dy) | 0xFF000000u))
                    return false;
        return true;
    }
    void expectTime(const char* text, int row)
    {
        int x = 1;
        int group = 0;
        for (const char* p = text; *p; ++p) {
            if (*p == ':') {
                x = ++group == 1 ? 14 : 36;
                continue;
            }
            EXPECT_TRUE(cellShows(x, *p - '0', row)) << text << " at x " << x;
            x += 9;
        }
        const QRgb colon = ColorCycle(static_cast<std::uint8_t>(row)).rgb();
        for (QPoint p : {QPoint(12, 7), QPoint(12, 14), QPoint(33, 7), QPoint(33, 14)})
            EXPECT_EQ(e().Picture11->image().pixel(p) | 0xFF000000u, colon | 0xFF000000u) << text;
    }
};

TEST_F(ElapsedTime, StartsAtZeroInCyan)
{
    EXPECT_TRUE(cellShows(1, 0, 1));
    expectTime("0:00:00", 1);
}

TEST_F(ElapsedTime, ShowsMinutesSecondsAndHundredthsOfTheRun)
{
    struct Case { long long ms; const char* text; };
    for (const Case& c : {Case{0, "0:00:00"}, Case{61005, "1:01:00"}, Case{59999, "0:59:99"}, Case{65, "0:00:06"}}) {
        SCOPED_TRACE(c.text);
        clock->t = clock->start;
        const int row = tickAt(c.ms);
        expectTime(c.text, row);
    }
}

TEST_F(ElapsedTime, TenMinutesLeavesFourColumnsOfTheSecondMinuteDigit)
{
    const int row = tickAt(10 * 60 * 1000 + 2000);
    EXPECT_TRUE(cellShows(1, 1, row));
    EXPECT_TRUE(cellShows(14, 0, row));
    EXPECT_TRUE(cellShows(23, 2, row));
    // x 10..13 of the minutes' second digit (a 0) stay visible, apart from the colon dots.
    const QImage& shown = e().Picture11->image();
    const QImage& sheet = e().Picture12->image();
    for (int dy = 0; dy < 16; ++dy)
        for (int x = 10; x <= 13; ++x)
            if (!(x == 12 && (dy == 4 || dy == 11)))
                EXPECT_EQ(shown.pixel(x, 3 + dy) | 0xFF000000u, sheet.pixel(x - 10, 16 * row + dy) | 0xFF000000u);
}

TEST_F(ElapsedTime, ColourRowAdvancesEveryTickAndTheIdleDisplayIsLeftAlone)
{
    const QImage before = e().Picture11->image().copy();
    std::vector<int> rows;
    for (int i = 0; i < 7; ++i) {
        rows.push_back(probe().digitColour());
        e().Timer2_Timer();
    }
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(e().Picture11->image(), before);
    EXPECT_TRUE(probe().firstTickDone());
}

TEST_F(ElapsedTime, BusyAnimationDrawsOneFrameEachTick)
{
    auto busy = std::make_shared<platform::cursors::CursorImage>();
    for (QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage frame(32, 32, QImage::Format_ARGB32);
        frame.fill(colour);
        busy->frames.push_back({frame, QPoint(0, 0), 30});
    }
    probe().setBusyCursor(busy);
    e().Timer2_Timer(); // frame 1
    EXPECT_EQ(e().Picture5->image().pixel(40, 10) | 0xFF000000u, qRgb(0, 0, 255));
    EXPECT_NE(e().Picture5->image().pixel(20, 10) | 0xFF000000u, qRgb(0, 0, 255));
    e().Timer2_Timer(); // frame 2
    EXPECT_EQ(e().Picture5->image().pixel(40, 10) | 0xFF000000u, qRgb(255, 0, 0));
    probe().setAnimFrame(159);
    e().Timer2_Timer();
    EXPECT_EQ(probe().animFrame(), 0);
}

} // namespace

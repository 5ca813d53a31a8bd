#include <QTimer>

#include "notivo/editor/PlaybackEngine.h"
#include "notivo/editor/frmEditor.h"
#include "notivo/widgets/DigitFormat.h"
#include "notivo/widgets/DigitalCounter.h"
#include "notivo/widgets/DigitalDisplay.h"
#include "platform/raster/PictureBox.h"

namespace notivo {
namespace {

constexpr int AnimationFrames = 160;  // 160 steps of 30 ms
constexpr int DigitColourRows = 6;
const QPoint BusyFrameCorner(32, 6);

} // namespace

void frmEditor::connectTimer()
{
    Picture12->image() = digitSheet(Picture12->image().devicePixelRatio());
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
}

void frmEditor::DisplayDigital(const QString& Value0, const QString& Value1, const QString& Value2, int CColor)
{
    if (!TimeCounter)
        TimeCounter = std::make_unique<DigitalCounter>();
    notivo::DisplayDigital(Picture11->image(), Picture12->image(), *TimeCounter, Value0, Value1, Value2, CColor,
                           Picture11->backColor());
    Picture11->refresh();
}

void frmEditor::Timer2_Timer()
{
    if (++AnimFrame > AnimationFrames - 1)
        AnimFrame = 0;
    BusyFrames.show(*Picture5, BusyFrameCorner, BusyCursor, AnimFrame);

    if (Playing()) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(PlaybackTiming->now() -
                                                                                   Playback.PlayStartTick());
        const ElapsedTexts texts = elapsedTexts(static_cast<std::int32_t>(elapsed.count()));
        DisplayDigital(texts.minutes, texts.seconds, texts.hundredths, DigitColour);
    }
    // The colour row moves on at every tick, playing or not.
    if (++DigitColour == DigitColourRows)
        DigitColour = 0;

    if (!FirstTickDone) {
        FirstTickDone = true;
        XPTitleButton3_DrawPic();
    }
}

void frmEditor::Timer2_FollowWindowState()
{
    // Timer2 runs from the end of the start-up to the tear-down only.
    if (!loaded_ || unloaded_ || programEnded_)
        return;
    // Minimized, nobody sees the animation, the counter or the colour row;
    // restored, one tick at once makes all three fresh before the next 30 ms.
    if (windowState() & Qt::WindowMinimized) {
        Timer2->stop();
    } else if (!Timer2->isActive()) {
        Timer2_Timer();
        Timer2->start();
    }
}

} // namespace notivo

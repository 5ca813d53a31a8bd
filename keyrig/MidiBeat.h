#pragma once
#include <QString>
#include <QStringList>
#include <vector>

class VBMIDI;

// The drum-beat styles and the engine that plays them one step per tick.
namespace MidiBeat {

struct BeatStyle {
    QString Name;
    int Interval = 0; // milliseconds per step at the base rate
    QString Pattern;  // sections ";", steps "|", keys ","
};

// A pattern taken apart: sections of steps of percussion keys (a rest is an
// empty step).  Keys that are not numbers in 0..127 are left out.
using Step = std::vector<int>;
using Section = std::vector<Step>;
std::vector<Section> parsePattern(const QString& pattern);

// The three built-in styles, in menu order.
std::vector<BeatStyle> InitBeats();

enum SectionIndex { Intro = 0, Main = 1, Fill = 2, Break = 3, Ending = 4 };
constexpr int Stopped = -1;
constexpr int NothingPending = -2;

// Section requested by beat control 0..4 (Intro, Fill, Pause, Ending, Stop).
constexpr int requestOf(int control)
{
    constexpr int requests[] = {Intro, Fill, Break, Ending, Stopped};
    return requests[control];
}

// Sections change only where one has played to its end; requests wait.
class BeatEngine {
public:
    explicit BeatEngine(VBMIDI& midi);

    const std::vector<BeatStyle>& styles() const { return Beats; }

    // A beat control (0..4) was clicked or its function key pressed.
    void lblBeatCtrl_Click(int index);
    // A style was chosen: its intro starts at the next tick.
    void chooseStyle(int index);
    // Plays one step with `velocity` and moves on.
    void tmrBeat_Timer(int velocity);
    // The start-up state: style chosen but nothing playing or requested.
    void stop();

    int CurrentBeat = 0;
    int StepIndex = 0;
    int CurrentSection = Stopped;
    int PendingSection = NothingPending;

private:
    VBMIDI& midi_;
    std::vector<BeatStyle> Beats;
    std::vector<std::vector<Section>> parsed_;
};

} // namespace MidiBeat
